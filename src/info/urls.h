#pragma once

#include "ui/mainwindowlink.h"
#include "ui/programwide.h"

#include "platform/platform.h"

#include <QPointer>
#include <QWidget>

class EventLabel;
class QPushButton;

// The links window: five web sites as text links that light up under the pointer and open in the
// user's browser. Its only state is the look of the links.
class URLs : public QWidget, public ProgramWide<URLs>
{
    Q_OBJECT

public:
    // Shows the program-wide instance, modeless and without owner; a closed window is made anew,
    // a hidden one comes back as it was.
    static URLs *showInstance(const Platform &platform, MainWindowLink *mainWindow);

    QPushButton *Command1 = nullptr;
    EventLabel *Label1 = nullptr;
    EventLabel *Label2 = nullptr;
    EventLabel *Label3 = nullptr;
    EventLabel *Label4 = nullptr;
    EventLabel *Label5 = nullptr;

public Q_SLOTS:
    void Form_MouseMove();
    void Label1_MouseMove();
    void Label2_MouseMove();
    void Label3_MouseMove();
    void Label4_MouseMove();
    void Label5_MouseMove();
    void Label1_Click();
    void Label2_Click();
    void Label3_Click();
    void Label4_Click();
    void Label5_Click();
    void Command1_Click();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    URLs(const Platform &platform, MainWindowLink *mainWindow);
    EventLabel *addLink(int index, void (URLs::*moveHandler)(), void (URLs::*clickHandler)());
    void openAddress(const char *address);

    Platform m_platform;
    // Passed on to the picture window this one makes anew.
    QPointer<MainWindowLink> m_mainWindow;
};
