#pragma once

#include "ui/mainwindowlink.h"
#include "ui/programwide.h"

#include "platform/platform.h"

#include <QPointer>
#include <QWidget>

class EventLabel;
class QFrame;
class QLabel;

// The picture window: the drawing of the device's board with its parts named. A hidden hot spot
// over the start/reset button leads to the links window.
class Blick : public QWidget, public ProgramWide<Blick>
{
    Q_OBJECT

public:
    // Shows the program-wide instance, modeless and without owner; a closed window is made anew.
    static Blick *showInstance(const Platform &platform, MainWindowLink *mainWindow);

    QFrame *Picture1 = nullptr;
    EventLabel *Label1 = nullptr;
    QWidget *Line1 = nullptr;

public Q_SLOTS:
    void Label1_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Blick(const Platform &platform, MainWindowLink *mainWindow);
    void Form_Load();
    void Form_Unload();

    Platform m_platform;
    QPointer<MainWindowLink> m_mainWindow;
};
