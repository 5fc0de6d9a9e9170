#include "windowplacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <chrono>

Qt::WindowFlags fixedWindowFlags(MinimiseButton minimise)
{
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                            Qt::MSWindowsFixedSizeDialogHint;
    if (minimise == MinimiseButton::Yes)
        flags |= Qt::WindowMinimizeButtonHint;
    return flags;
}

void setSecondaryWindowFrame(QWidget *window, MinimiseButton minimise)
{
    window->setWindowFlags(fixedWindowFlags(minimise));
    // Closing it while the main window sits in the notification area must not end the program.
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setAttribute(Qt::WA_QuitOnClose, false);
}

void bringForward(QWidget *window)
{
    window->show();
    // A window manager restores a minimised window that is raised or activated; shown alone it
    // keeps its state, in the task bar or beside its notification icon.
    if (window->isMinimized())
        return;
    window->raise();
    window->activateWindow();
}

namespace {

void centreFrame(QWidget *window)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

// The window system tells the frame's size only after the window is first shown; until then a
// window is centred without it and is centred again once the frame is known. A window system
// that never frames it leaves it where it is after a while, so a later move stays the user's.
class FrameCentring final : public QObject
{
    Q_OBJECT

public:
    explicit FrameCentring(QWidget *window) : QObject(window), m_window(window) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_window)
            return false;
        if (event->type() == QEvent::Show)
            QTimer::singleShot(GiveUp, this, &QObject::deleteLater);
        if (event->type() == QEvent::Show || event->type() == QEvent::Move ||
            event->type() == QEvent::Resize) {
            if (m_window->frameGeometry().size() != m_window->size()) {
                centreFrame(m_window);
                deleteLater();
            }
        }
        return false;
    }

private:
    static constexpr std::chrono::milliseconds GiveUp{2000};
    QWidget *const m_window;
};

} // namespace

void centreOnScreen(QWidget *window)
{
    centreFrame(window);
    if (!window->isVisible())
        window->installEventFilter(new FrameCentring(window));
}

#include "windowplacement.moc"
