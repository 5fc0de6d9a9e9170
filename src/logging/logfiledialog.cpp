#include "logfiledialog.h"

#include "dirlistbox.h"
#include "drivelistbox.h"
#include "logfile.h"
#include "logwindow.h"
#include "platform/messageboxes.h"
#include "ui/branding.h"
#include "ui/designfont.h"
#include "ui/mainwindowlink.h"
#include "ui/twips.h"
#include "ui/windowplacement.h"

#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

LogFileDialog::LogFileDialog(const Platform &platform, MainWindowLink *mainWindow)
    : ProgramWide(this), m_platform(platform), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("datei"));
    setSecondaryWindowFrame(this);
    setWindowTitle(QStringLiteral("Log Datei anlegen"));
    setWindowIcon(programWindowIcon());
    setFixedSize(twips(3270), twips(5805));
    setFont(designFont(8.25));
    buildControls();
}

void LogFileDialog::buildControls()
{
    m_paths = designControl<QGroupBox>(this, "Frame1", twipsRect(120, 120, 3015, 5535),
                                       QStringLiteral("Pfadangaben:"));
    m_drives = designControl<DriveListBox>(m_paths, "Drive1", twipsRect(120, 360, 2655, 315));
    m_folders = designControl<DirListBox>(m_paths, "Dir1", twipsRect(120, 840, 2655, 3465));
    m_createButton = designControl<QPushButton>(
        m_paths, "Command1", twipsRect(120, 4920, 1215, 375), QStringLiteral("Datei &erstellen"));
    m_backButton = designControl<QPushButton>(m_paths, "Command2", twipsRect(1560, 4920, 1215, 375),
                                              QStringLiteral("&Zurück"));
    m_fileName = designControl<QLineEdit>(m_paths, "Text1", twipsRect(120, 4440, 2655, 285));

    QWidget::setTabOrder(m_drives, m_folders);
    QWidget::setTabOrder(m_folders, m_createButton);
    QWidget::setTabOrder(m_createButton, m_backButton);
    QWidget::setTabOrder(m_backButton, m_fileName);

    const QString current = QDir::currentPath();
    m_drives->setDriveOf(current);
    m_folders->setPath(current);

    connect(m_drives, &QComboBox::currentIndexChanged, this, &LogFileDialog::showDriveFolders);
    connect(m_createButton, &QPushButton::clicked, this, &LogFileDialog::createFile);
    connect(m_backButton, &QPushButton::clicked, this, &LogFileDialog::backToMainWindow);
}

// The seams go with the main window; without it a question is answered no and a message dropped.
MessageBoxes::Answer LogFileDialog::ask(const QString &question)
{
    if (!m_mainWindow)
        return MessageBoxes::Answer::No;
    return m_platform.messageBoxes.ask(question, MessageBoxes::Answer::Yes, programTitle());
}

void LogFileDialog::inform(const QString &message, MessageBoxes::Icon icon, const QString &title)
{
    if (m_mainWindow)
        m_platform.messageBoxes.inform(message, icon, title);
}

void LogFileDialog::closeEvent(QCloseEvent *event)
{
    releaseInstance();
    QWidget::closeEvent(event);
}

void LogFileDialog::showMainWindow()
{
    if (m_mainWindow)
        m_mainWindow->requestShow();
}

void LogFileDialog::showDriveFolders()
{
    m_folders->setPath(m_drives->drive());
}

void LogFileDialog::createFile()
{
    // Without its log window the dialog has nothing to save; a new, empty one would write an empty
    // file and report it saved.
    LogWindow *log = LogWindow::instance();
    if (!log) {
        close();
        return;
    }
    if (m_fileName->text().isEmpty()) {
        inform(QStringLiteral("Bitte Dateinamen angeben:"), MessageBoxes::Icon::Information,
               QStringLiteral("Dateiname"));
        return;
    }

    const bool excel = ask(QStringLiteral("Möchten sie die Datei als Exceldatei speichern?")) ==
                       MessageBoxes::Answer::Yes;
    const QString extension = excel ? QStringLiteral(".xls") : QStringLiteral(".txt");

    const QString path = logfile::path(m_folders->path(), m_fileName->text(), extension);
    const QByteArray bytes = logfile::fileBytes(log->logText());
    QString failure;
    if (!logfile::append(path, bytes, &failure)) {
        // The dialog stays as it is, so the user can choose another place and try again.
        inform(failure, MessageBoxes::Icon::Critical, programTitle());
        return;
    }
    log->markSaved();

    hide();
    showMainWindow();
}

void LogFileDialog::backToMainWindow()
{
    hide();
    showMainWindow();
}
