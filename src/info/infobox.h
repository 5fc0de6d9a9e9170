#pragma once

class MessageBoxes;
class QString;

// The info box's text for the given version: the version line, the author line and the e-mail
// line, separated by lines that hold only a tab.
QString infoBoxText(int major, int minor, int revision);

// Shows the program's version, its author and the author's e-mail address.
void showInfoBox(MessageBoxes &messageBoxes);
