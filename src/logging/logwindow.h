#pragma once

#include "platform/platform.h"
#include "ui/mainwindowlink.h"
#include "ui/programwide.h"

#include <QPointer>
#include <QWidget>

#include <chrono>

class QCloseEvent;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

// The log window: records the main window's readings as lines of text at the interval the user
// chooses. Its state lives in its controls: the caption, the timer's interval and the enabled
// buttons. Its own buttons only hide it; the close box ends it together with its file dialog, and
// the next showing starts anew.
class LogWindow : public QWidget, public ProgramWide<LogWindow>
{
    Q_OBJECT

public:
    // The whole log text, with LF line ends.
    QString logText() const;
    // Appends a record of the main window's readings now, as the recording timer does.
    void recordReadings();
    // Whether the text changed since it was last saved; an empty text has nothing to save.
    bool hasUnsavedText() const { return m_unsaved; }
    void markSaved() { m_unsaved = false; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    friend class ProgramWide<LogWindow>;
    // Made idle; it records the readings of the main window behind the link.
    LogWindow(const Platform &platform, MainWindowLink *mainWindow);
    void backToMainWindow();
    void showSaveDialog();
    void startRecording();
    void clearLog();
    void copyLog();
    void stopRecording();
    // The controls; their object names are the short ones the tests find them by.
    QPlainTextEdit *m_text = nullptr;
    QPushButton *m_closeButton = nullptr;
    QPushButton *m_saveButton = nullptr;
    QGroupBox *m_settings = nullptr;
    QPushButton *m_startButton = nullptr;
    QPushButton *m_clearButton = nullptr;
    QPushButton *m_copyButton = nullptr;
    QLabel *m_intervalLabel = nullptr;
    QRadioButton *m_everySecond = nullptr;
    QRadioButton *m_everyHalfMinute = nullptr;
    QRadioButton *m_everyMinute = nullptr;
    QRadioButton *m_everyHour = nullptr;
    QPushButton *m_stopButton = nullptr;
    QTimer *m_recordTimer = nullptr;

    void buildControls();
    void setRecordingButtonsEnabled(bool enabled);
    void setTimerInterval(std::chrono::milliseconds interval);
    void appendAtEnd(const QString &record);

    Platform m_platform;
    bool m_unsaved = false;
    // Empty once the main window is gone.
    QPointer<MainWindowLink> m_mainWindow;
};
