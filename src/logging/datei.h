#pragma once

#include "platform/platform.h"
#include "ui/mainwindowlink.h"
#include "ui/programwide.h"

#include <QPointer>
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
    static datei *programWide(const Platform &platform, MainWindowLink *mainWindow);

    void Drive1_Change();
    void Command1_Click();
    void Command2_Click();

    // The last answer to the file-type question (msgbox::AnswerYes or AnswerNo), 0 before the
    // first, and the extension it chose.
    int answer = 0;
    QString extension;

private:
    // The controls, named as the design names them; tests find them by these names.
    QGroupBox *Frame1 = nullptr;
    DriveListBox *Drive1 = nullptr;
    DirListBox *Dir1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QLineEdit *Text1 = nullptr;

    datei(const Platform &platform, MainWindowLink *mainWindow);
    void buildControls();
    int ask(const QString &prompt, int style, const QString &title);
    void showMainWindow();

    Platform m_platform;
    // Empty once the main window is gone, and with it the seams it was opened with.
    QPointer<MainWindowLink> m_mainWindow;
};
