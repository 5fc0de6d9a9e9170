#include "logwindow.h"

#include "logfile.h"
#include "logfiledialog.h"
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

// The recording interval each option sets, m_everySecond to m_everyHour.
constexpr std::chrono::milliseconds Intervals[] = {std::chrono::seconds(1),
                                                   std::chrono::seconds(30),
                                                   std::chrono::minutes(1), std::chrono::hours(1)};

} // namespace

LogWindow::LogWindow(const Platform &platform, MainWindowLink *mainWindow)
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

    m_recordTimer = new QTimer(this);
    m_recordTimer->setObjectName(QStringLiteral("Timer1"));
    m_recordTimer->setTimerType(Qt::PreciseTimer);
    connect(m_recordTimer, &QTimer::timeout, this, &LogWindow::recordReadings);
}

void LogWindow::buildControls()
{
    m_text = designControl<QPlainTextEdit>(this, "Text1", twipsRect(120, 120, 4815, 2895));
    connect(m_text->document(), &QTextDocument::contentsChanged, this,
            [this] { m_unsaved = !m_text->document()->isEmpty(); });
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setTabChangesFocus(true);
    // Records must not be undone one by one, and a week of them would fill the undo history.
    m_text->setUndoRedoEnabled(false);
    // Tab stops every eight characters keep the columns of a record together.
    m_text->setTabStopDistance(QFontMetricsF(m_text->font()).averageCharWidth() * 8);

    m_settings = designControl<QGroupBox>(this, "Frame1", twipsRect(120, 3120, 4815, 2055),
                                          QStringLiteral("Einstellungen:"));
    m_startButton = designControl<QPushButton>(
        m_settings, "Command3", twipsRect(3480, 240, 1095, 375), QStringLiteral("&Log starten"));
    m_clearButton = designControl<QPushButton>(
        m_settings, "Command4", twipsRect(1920, 1440, 1095, 375), QStringLiteral("Log l&öschen"));
    m_copyButton = designControl<QPushButton>(
        m_settings, "Command5", twipsRect(1920, 840, 1095, 375), QStringLiteral("Log &kopieren"));

    m_intervalLabel = new QLabel(QStringLiteral("Intervall:"), m_settings);
    m_intervalLabel->setObjectName(QStringLiteral("Label1"));
    QFont labelFont = designFont(8.25);
    labelFont.setUnderline(true);
    m_intervalLabel->setFont(labelFont);
    m_intervalLabel->move(twips(120), twips(360));
    m_intervalLabel->adjustSize();

    m_everySecond = designControl<QRadioButton>(
        m_settings, "Option1", twipsRect(120, 720, 1215, 255), QStringLiteral("  1 Sekunde"));
    m_everyHalfMinute = designControl<QRadioButton>(
        m_settings, "Option2", twipsRect(120, 1080, 1335, 255), QStringLiteral("30 Sekunden"));
    m_everyMinute = designControl<QRadioButton>(
        m_settings, "Option3", twipsRect(120, 1440, 975, 195), QStringLiteral("1 Minute"));
    m_everyHour = designControl<QRadioButton>(
        m_settings, "Option4", twipsRect(120, 1800, 1095, 195), QStringLiteral("1 Stunde"));
    m_everySecond->setChecked(true);
    m_stopButton = designControl<QPushButton>(
        m_settings, "Command6", twipsRect(1920, 240, 1095, 375), QStringLiteral("Log s&toppen"));

    // These two belong to the window but complete the frame's right column, so they lie over it.
    m_closeButton = designControl<QPushButton>(this, "Command1", twipsRect(3600, 4560, 1095, 375),
                                               QStringLiteral("Sc&hließen"));
    m_saveButton = designControl<QPushButton>(this, "Command2", twipsRect(3600, 3960, 1095, 375),
                                              QStringLiteral("&Speichern"));

    QWidget *const tabOrder[] = {m_text,        m_closeButton, m_saveButton,  m_startButton,
                                 m_clearButton, m_copyButton,  m_everySecond, m_everyHalfMinute,
                                 m_everyMinute, m_everyHour,   m_stopButton};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(m_closeButton, &QPushButton::clicked, this, &LogWindow::backToMainWindow);
    connect(m_saveButton, &QPushButton::clicked, this, &LogWindow::showSaveDialog);
    connect(m_startButton, &QPushButton::clicked, this, &LogWindow::startRecording);
    connect(m_clearButton, &QPushButton::clicked, this, &LogWindow::clearLog);
    connect(m_copyButton, &QPushButton::clicked, this, &LogWindow::copyLog);
    connect(m_stopButton, &QPushButton::clicked, this, &LogWindow::stopRecording);
}

QString LogWindow::logText() const
{
    // toPlainText() would also turn a typed non-breaking space into a plain one.
    QString text = m_text->document()->toRawText();
    for (QChar &c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return text;
}

void LogWindow::setRecordingButtonsEnabled(bool enabled)
{
    for (QPushButton *button : {m_closeButton, m_saveButton, m_clearButton, m_copyButton})
        button->setEnabled(enabled);
}

void LogWindow::setTimerInterval(std::chrono::milliseconds interval)
{
    // A running QTimer with interval 0 would fire at every turn of the event loop.
    if (interval == std::chrono::milliseconds::zero()) {
        m_recordTimer->stop();
        m_recordTimer->setInterval(interval);
    } else {
        m_recordTimer->start(interval);
    }
}

void LogWindow::closeEvent(QCloseEvent *event)
{
    // The dialog saves this window's text, which goes with it.
    if (LogFileDialog *dialog = LogFileDialog::instance())
        dialog->close();
    releaseInstance();
    QWidget::closeEvent(event);
}

void LogWindow::backToMainWindow()
{
    hide();
    if (m_mainWindow)
        m_mainWindow->requestShow();
}

void LogWindow::showSaveDialog()
{
    LogFileDialog::showInstance(m_platform, m_mainWindow);
}

void LogWindow::startRecording()
{
    setWindowTitle(Caption + MarkRecording);
    setRecordingButtonsEnabled(false);
    const QRadioButton *const options[] = {m_everySecond, m_everyHalfMinute, m_everyMinute,
                                           m_everyHour};
    static_assert(std::size(options) == std::size(Intervals));
    for (std::size_t i = 0; i < std::size(options); ++i) {
        if (options[i]->isChecked()) {
            setTimerInterval(Intervals[i]);
            break;
        }
    }
}

void LogWindow::clearLog()
{
    m_text->clear();
    setWindowTitle(Caption);
}

void LogWindow::copyLog()
{
    QGuiApplication::clipboard()->setText(logfile::crlfText(logText()));
}

void LogWindow::stopRecording()
{
    setWindowTitle(Caption + MarkStopped);
    setTimerInterval(std::chrono::milliseconds::zero());
    setRecordingButtonsEnabled(true);
}

void LogWindow::recordReadings()
{
    if (!m_mainWindow)
        return;
    const QTime now = m_platform.clock.currentTime();
    const MainWindowLink::Readings shown = m_mainWindow->readings();
    appendAtEnd(logRecord(clockText(now), shown.current, shown.minimum, shown.maximum));
}

void LogWindow::appendAtEnd(const QString &record)
{
    // Only the new record is laid out, so a tick costs the same in the first minute as after a
    // week. The user's caret, selection and view stay where they are.
    QTextCursor caret = m_text->textCursor();
    const int anchor = caret.anchor();
    const int position = caret.position();
    QScrollBar *vertical = m_text->verticalScrollBar();
    QScrollBar *horizontal = m_text->horizontalScrollBar();
    const int top = vertical->value();
    const int left = horizontal->value();

    QTextCursor end(m_text->document());
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

    const QTextCursor moved = m_text->textCursor();
    if (caretAtEnd) {
        caret.movePosition(QTextCursor::End);
        m_text->setTextCursor(caret);
    } else if (moved.anchor() != anchor || moved.position() != position) {
        caret.setPosition(anchor);
        caret.setPosition(position, QTextCursor::KeepAnchor);
        m_text->setTextCursor(caret);
    }
    vertical->setValue(top);
    horizontal->setValue(left);
}
