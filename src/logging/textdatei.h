#pragma once

#include "ui/programwide.h"

#include <QWidget>

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
    // The program-wide instance, created hidden and idle when there is none.
    static textdatei *programWide();

    // The whole log text, with LF line ends.
    QString logText() const;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Timer1_Timer();

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

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    textdatei();
    void buildControls();
    void setRecordingButtonsEnabled(bool enabled);
    void setTimerInterval(int milliseconds);
    void appendAtEnd(const QString &record);
};
