#pragma once

class QWidget;

// The window flags of the secondary windows: a title bar with the close box, no minimise and no
// maximise button.
void setSecondaryWindowFrame(QWidget *window);

// Puts a window in the middle of the primary screen.
void centreOnScreen(QWidget *window);
