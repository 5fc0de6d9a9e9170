#pragma once

class QAbstractButton;

// Return and Enter press the button that has the focus, as Space does: what users of the
// program's windows expect of a focused button. Qt does so only for buttons in dialogs.
void pressOnReturn(QAbstractButton *button);
