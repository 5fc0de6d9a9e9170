#pragma once

#include <Qt>

class QWidget;

enum class MinimiseButton { No, Yes };

// The frame of the program's fixed-size windows: a title bar with the close box, never a maximise
// button.
Qt::WindowFlags fixedWindowFlags(MinimiseButton minimise);

// The frame of the secondary windows. They are deleted when closed and made anew on the next
// show, and closing one never ends the program.
void setSecondaryWindowFrame(QWidget *window, MinimiseButton minimise = MinimiseButton::No);

// Shows a window and brings it to the front, active, also when it is already shown; a minimised
// window is shown and stays minimised.
void bringForward(QWidget *window);

// Puts a window, frame and title bar included, in the middle of the primary screen's work area.
void centreOnScreen(QWidget *window);
