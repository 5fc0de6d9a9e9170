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
class PictureWindow : public QWidget, public ProgramWide<PictureWindow>
{
    Q_OBJECT

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    friend class ProgramWide<PictureWindow>;
    // Modeless and without owner.
    PictureWindow(const Platform &platform, MainWindowLink *mainWindow);
    void showLinksWindow();
    void showTitle();
    void showMainWindow();

    QFrame *m_picture = nullptr;
    EventLabel *m_hotSpot = nullptr;
    QWidget *m_line = nullptr;
    Platform m_platform;
    QPointer<MainWindowLink> m_mainWindow;
};
