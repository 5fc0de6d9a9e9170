#pragma once

class QWidget;

// The window flags of the secondary windows: a title bar with the close box, no minimise and no
// maximise button.
void setSecondaryWindowFrame(QWidget *window);

// Shows a window and brings it to the front, active, also when it is already shown.
void bringForward(QWidget *window);

// Puts a window, frame and title bar included, in the middle of the primary screen's work area.
void centreOnScreen(QWidget *window);
