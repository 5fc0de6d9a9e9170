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
class LinksWindow : public QWidget, public ProgramWide<LinksWindow>
{
    Q_OBJECT

public:
    // Opens the link's address in the user's browser, 0 to 4 from the top.
    void openLink(int index);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    friend class ProgramWide<LinksWindow>;
    // Modeless and without owner; a hidden one comes back as it was.
    LinksWindow(const Platform &platform, MainWindowLink *mainWindow);
    EventLabel *addLink(int index);
    void highlightLink(int index);
    void backToPicture();

    QPushButton *m_okButton = nullptr;
    EventLabel *m_links[5] = {};
    Platform m_platform;
    // Passed on to the picture window this one makes anew.
    QPointer<MainWindowLink> m_mainWindow;
};
