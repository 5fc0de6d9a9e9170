#pragma once

#include "platform/messageboxes.h"
#include "platform/platform.h"
#include "ui/mainwindowlink.h"
#include "ui/programwide.h"

#include <QPointer>
#include <QWidget>

class DirListBox;
class DriveListBox;
class QCloseEvent;
class QGroupBox;
class QLineEdit;
class QPushButton;

// The dialog that appends the log window's whole text to a file the user names. Its buttons hide
// it and it keeps drive, directory and name until shown again; the close box
// ends it.
class LogFileDialog : public QWidget, public ProgramWide<LogFileDialog>
{
    Q_OBJECT

public:
    // Lists the folders of the drive chosen in the drive box.
    void showDriveFolders();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    friend class ProgramWide<LogFileDialog>;
    LogFileDialog(const Platform &platform, MainWindowLink *mainWindow);
    void createFile();
    void backToMainWindow();
    // The controls; their object names are the short ones the tests find them by.
    QGroupBox *m_paths = nullptr;
    DriveListBox *m_drives = nullptr;
    DirListBox *m_folders = nullptr;
    QPushButton *m_createButton = nullptr;
    QPushButton *m_backButton = nullptr;
    QLineEdit *m_fileName = nullptr;

    void buildControls();
    MessageBoxes::Answer ask(const QString &question);
    void inform(const QString &message, MessageBoxes::Icon icon, const QString &title);
    void showMainWindow();

    Platform m_platform;
    // Empty once the main window is gone, and with it the seams it was opened with.
    QPointer<MainWindowLink> m_mainWindow;
};
