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
class textdatei : public QWidget, public ProgramWide<textdatei>
{
public:
    // The program-wide instance, created hidden and idle when there is none. It records the
    // readings of the main window behind the link.
    static textdatei *programWide(const Platform &platform, MainWindowLink *mainWindow);

    // The whole log text, with LF line ends.
    QString logText() const;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Timer1_Timer();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The controls, named as the design names them; tests find them by these names.
    QPlainTextEdit *Text1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
    QLabel *Label1 = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QRadioButton *Option3 = nullptr;
    QRadioButton *Option4 = nullptr;
    QPushButton *Command6 = nullptr;
    QTimer *Timer1 = nullptr;

    textdatei(const Platform &platform, MainWindowLink *mainWindow);
    void buildControls();
    void setRecordingButtonsEnabled(bool enabled);
    void setTimerInterval(std::chrono::milliseconds interval);
    void appendAtEnd(const QString &record);

    Platform m_platform;
    // Empty once the main window is gone.
    QPointer<MainWindowLink> m_mainWindow;
};
