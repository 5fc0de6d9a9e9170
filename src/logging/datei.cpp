#include "datei.h"

#include "dirlistbox.h"
#include "drivelistbox.h"
#include "logfile.h"
#include "platform/messagebox.h"
#include "textdatei.h"
#include "ui/branding.h"
#include "ui/designfont.h"
#include "ui/mainwindowlink.h"
#include "ui/twips.h"
#include "ui/windowplacement.h"

#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

} // namespace

datei *datei::programWide(const Platform &platform, MainWindowLink *mainWindow)
{
    return instance() ? instance() : new datei(platform, mainWindow);
}

datei::datei(const Platform &platform, MainWindowLink *mainWindow)
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

void datei::buildControls()
{
    Frame1 = designControl<QGroupBox>(this, "Frame1", twipsRect(120, 120, 3015, 5535),
                                      QStringLiteral("Pfadangaben:"));
    Drive1 = designControl<DriveListBox>(Frame1, "Drive1", twipsRect(120, 360, 2655, 315));
    Dir1 = designControl<DirListBox>(Frame1, "Dir1", twipsRect(120, 840, 2655, 3465));
    Command1 = designControl<QPushButton>(Frame1, "Command1", twipsRect(120, 4920, 1215, 375),
                                          QStringLiteral("Datei &erstellen"));
    Command2 = designControl<QPushButton>(Frame1, "Command2", twipsRect(1560, 4920, 1215, 375),
                                          QStringLiteral("&Zurück"));
    Text1 = designControl<QLineEdit>(Frame1, "Text1", twipsRect(120, 4440, 2655, 285));

    QWidget::setTabOrder(Drive1, Dir1);
    QWidget::setTabOrder(Dir1, Command1);
    QWidget::setTabOrder(Command1, Command2);
    QWidget::setTabOrder(Command2, Text1);

    const QString current = QDir::currentPath();
    Drive1->setDriveOf(current);
    Dir1->setPath(current);

    connect(Drive1, &QComboBox::currentIndexChanged, this, &datei::Drive1_Change);
    connect(Command1, &QPushButton::clicked, this, &datei::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &datei::Command2_Click);
}

int datei::ask(const QString &prompt, int style, const QString &title)
{
    if (!m_mainWindow || !m_platform.messageBoxes)
        return msgbox::AnswerNo;
    return m_platform.messageBoxes->show(prompt, style, title);
}

void datei::showMainWindow()
{
    if (m_mainWindow)
        Q_EMIT m_mainWindow->showRequested();
}

void datei::Drive1_Change()
{
    Dir1->setPath(Drive1->drive());
}

void datei::Command1_Click()
{
    // Without its log window the dialog has nothing to save; a new, empty one would write an empty
    // file and report it saved.
    const textdatei *log = textdatei::instance();
    if (!log) {
        close();
        return;
    }
    if (Text1->text().isEmpty()) {
        ask(QStringLiteral("Bitte Dateinamen angeben:"), msgbox::StyleInformation,
            QStringLiteral("Dateiname"));
        return;
    }

    answer = ask(QStringLiteral("Möchten sie die Datei als Exceldatei speichern?"),
                 msgbox::StyleYesNo | msgbox::StyleQuestion, programTitle());
    if (answer == msgbox::AnswerYes)
        extension = QStringLiteral(".xls");
    else if (answer == msgbox::AnswerNo)
        extension = QStringLiteral(".txt");

    const QString path = logfile::path(Dir1->path(), Text1->text(), extension);
    const QByteArray bytes = logfile::fileBytes(log->logText());
    QString failure;
    if (!logfile::append(path, bytes, &failure)) {
        // The dialog stays as it is, so the user can choose another place and try again.
        ask(failure, msgbox::StyleCritical, programTitle());
        return;
    }

    hide();
    showMainWindow();
}

void datei::Command2_Click()
{
    hide();
    showMainWindow();
}
