#pragma once

class QString;

// The faces the windows are laid out for, where the system lacks them: the Windows zip carries
// them in its folder fonts, since a Windows machine has neither Liberation nor Nimbus faces. Each
// TrueType file in folder whose family the system does not have is added for this program.
void addShippedFonts(const QString &folder);
