#pragma once

#include "ui/programwide.h"

#include <QWidget>

class DirListBox;
class DriveListBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

// The dialog that appends the log window's whole text to a file the user names. Its buttons hide
// it and it keeps drive, directory, name and the last answer until shown again; the close box
// ends it.
class datei : public QWidget, public ProgramWide<datei>
{
public:
    // The program-wide instance, created hidden when there is none.
    static datei *programWide();

    void Drive1_Change();
    void Command1_Click();
    void Command2_Click();

    QGroupBox *Frame1 = nullptr;
    DriveListBox *Drive1 = nullptr;
    DirListBox *Dir1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QLineEdit *Text1 = nullptr;

    // The last answer to the file-type question (msgbox::AnswerYes or AnswerNo), 0 before the
    // first, and the extension it chose.
    int answer = 0;
    QString extension;

private:
    datei();
    void buildControls();
};
