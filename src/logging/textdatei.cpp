#include "textdatei.h"

#include "datei.h"
#include "logfile.h"
#include "logrecord.h"
#include "platform/clock.h"
#include "ui/branding.h"
#include "ui/designfont.h"
#include "ui/mainwindowlink.h"
#include "ui/twips.h"
#include "ui/windowplacement.h"

#include <QClipboard>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTime>
#include <QTimer>

#include <chrono>

namespace {

const QString Caption = QStringLiteral("Logdatei");
const QString MarkRecording = QStringLiteral(" --> Messung läuft <--");
const QString MarkStopped = QStringLiteral(" --> Messung beendet <--");

// The recording interval each option sets, Option1 to Option4.
constexpr std::chrono::milliseconds Intervals[] = {std::chrono::seconds(1),
                                                   std::chrono::seconds(30),
                                                   std::chrono::minutes(1), std::chrono::hours(1)};

} // namespace

textdatei *textdatei::programWide(const Platform &platform, MainWindowLink *mainWindow)
{
    return instance() ? instance() : new textdatei(platform, mainWindow);
}

textdatei::textdatei(const Platform &platform, MainWindowLink *mainWindow)
    : ProgramWide(this), m_platform(platform), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("textdatei"));
    // The close box ends the window with its text and its timer.
    setSecondaryWindowFrame(this, MinimiseButton::Yes);
    setWindowTitle(Caption);
    setWindowIcon(programWindowIcon());
    setFixedSize(twips(5100), twips(5340));
    setFont(designFont(8.25));
    buildControls();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &textdatei::Timer1_Timer);
}

void textdatei::buildControls()
{
    Text1 = designControl<QPlainTextEdit>(this, "Text1", twipsRect(120, 120, 4815, 2895));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setTabChangesFocus(true);
    // Records must not be undone one by one, and a week of them would fill the undo history.
    Text1->setUndoRedoEnabled(false);
    // Tab stops every eight characters keep the columns of a record together.
    Text1->setTabStopDistance(QFontMetricsF(Text1->font()).averageCharWidth() * 8);

    Frame1 = designControl<QGroupBox>(this, "Frame1", twipsRect(120, 3120, 4815, 2055),
                                      QStringLiteral("Einstellungen:"));
    Command3 = designControl<QPushButton>(Frame1, "Command3", twipsRect(3480, 240, 1095, 375),
                                          QStringLiteral("&Log starten"));
    Command4 = designControl<QPushButton>(Frame1, "Command4", twipsRect(1920, 1440, 1095, 375),
                                          QStringLiteral("Log l&öschen"));
    Command5 = designControl<QPushButton>(Frame1, "Command5", twipsRect(1920, 840, 1095, 375),
                                          QStringLiteral("Log &kopieren"));

    Label1 = new QLabel(QStringLiteral("Intervall:"), Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont labelFont = designFont(8.25);
    labelFont.setUnderline(true);
    Label1->setFont(labelFont);
    Label1->move(twips(120), twips(360));
    Label1->adjustSize();

    Option1 = designControl<QRadioButton>(Frame1, "Option1", twipsRect(120, 720, 1215, 255),
                                          QStringLiteral("  1 Sekunde"));
    Option2 = designControl<QRadioButton>(Frame1, "Option2", twipsRect(120, 1080, 1335, 255),
                                          QStringLiteral("30 Sekunden"));
    Option3 = designControl<QRadioButton>(Frame1, "Option3", twipsRect(120, 1440, 975, 195),
                                          QStringLiteral("1 Minute"));
    Option4 = designControl<QRadioButton>(Frame1, "Option4", twipsRect(120, 1800, 1095, 195),
                                          QStringLiteral("1 Stunde"));
    Option1->setChecked(true);
    Command6 = designControl<QPushButton>(Frame1, "Command6", twipsRect(1920, 240, 1095, 375),
                                          QStringLiteral("Log s&toppen"));

    // These two belong to the window but complete the frame's right column, so they lie over it.
    Command1 = designControl<QPushButton>(this, "Command1", twipsRect(3600, 4560, 1095, 375),
                                          QStringLiteral("Sc&hließen"));
    Command2 = designControl<QPushButton>(this, "Command2", twipsRect(3600, 3960, 1095, 375),
                                          QStringLiteral("&Speichern"));

    QWidget *const tabOrder[] = {Text1,   Command1, Command2, Command3, Command4, Command5,
                                 Option1, Option2,  Option3,  Option4,  Command6};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(Command1, &QPushButton::clicked, this, &textdatei::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &textdatei::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &textdatei::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &textdatei::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &textdatei::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &textdatei::Command6_Click);
}

QString textdatei::logText() const
{
    // toPlainText() would also turn a typed non-breaking space into a plain one.
    QString text = Text1->document()->toRawText();
    for (QChar &c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return text;
}

void textdatei::setRecordingButtonsEnabled(bool enabled)
{
    for (QPushButton *button : {Command1, Command2, Command4, Command5})
        button->setEnabled(enabled);
}

void textdatei::setTimerInterval(std::chrono::milliseconds interval)
{
    // A running QTimer with interval 0 would fire at every turn of the event loop.
    if (interval == std::chrono::milliseconds::zero()) {
        Timer1->stop();
        Timer1->setInterval(interval);
    } else {
        Timer1->start(interval);
    }
}

void textdatei::closeEvent(QCloseEvent *event)
{
    // The dialog saves this window's text, which goes with it.
    if (datei *dialog = datei::instance())
        dialog->close();
    QWidget::closeEvent(event);
}

void textdatei::Command1_Click()
{
    hide();
    if (m_mainWindow)
        Q_EMIT m_mainWindow->showRequested();
}

void textdatei::Command2_Click()
{
    bringForward(datei::programWide(m_platform, m_mainWindow));
}

void textdatei::Command3_Click()
{
    setWindowTitle(Caption + MarkRecording);
    setRecordingButtonsEnabled(false);
    const QRadioButton *const options[] = {Option1, Option2, Option3, Option4};
    static_assert(std::size(options) == std::size(Intervals));
    for (std::size_t i = 0; i < std::size(options); ++i) {
        if (options[i]->isChecked()) {
            setTimerInterval(Intervals[i]);
            break;
        }
    }
}

void textdatei::Command4_Click()
{
    Text1->clear();
    setWindowTitle(Caption);
}

void textdatei::Command5_Click()
{
    QGuiApplication::clipboard()->setText(logfile::crlfText(logText()));
}

void textdatei::Command6_Click()
{
    setWindowTitle(Caption + MarkStopped);
    setTimerInterval(std::chrono::milliseconds::zero());
    setRecordingButtonsEnabled(true);
}

void textdatei::Timer1_Timer()
{
    if (!m_mainWindow)
        return;
    const Clock *clock = m_platform.clock;
    const QTime now = clock ? clock->currentTime() : QTime::currentTime();
    const MainWindowLink::Readings shown = m_mainWindow->readings();
    appendAtEnd(logRecord(clockText(now), shown.current, shown.minimum, shown.maximum));
}

void textdatei::appendAtEnd(const QString &record)
{
    // Only the new record is laid out, so a tick costs the same in the first minute as after a
    // week. The user's caret, selection and view stay where they are.
    QTextCursor caret = Text1->textCursor();
    const int anchor = caret.anchor();
    const int position = caret.position();
    QScrollBar *vertical = Text1->verticalScrollBar();
    QScrollBar *horizontal = Text1->horizontalScrollBar();
    const int top = vertical->value();
    const int left = horizontal->value();

    QTextCursor end(Text1->document());
    end.movePosition(QTextCursor::End);
    // A caret on the empty last line would otherwise stay in front of the record, and what the
    // user types next would run into its time: it moves on to the new end instead.
    const bool caretAtEnd = anchor == position && position == end.position() && end.atBlockStart();
    end.beginEditBlock();
    // A line the user typed without ending it would keep the record from starting a line of its
    // own.
    if (!end.atBlockStart())
        end.insertBlock();
    end.insertText(record);
    end.endEditBlock();

    const QTextCursor moved = Text1->textCursor();
    if (caretAtEnd) {
        caret.movePosition(QTextCursor::End);
        Text1->setTextCursor(caret);
    } else if (moved.anchor() != anchor || moved.position() != position) {
        caret.setPosition(anchor);
        caret.setPosition(position, QTextCursor::KeepAnchor);
        Text1->setTextCursor(caret);
    }
    vertical->setValue(top);
    horizontal->setValue(left);
}
