#include "trayareawatch.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QTimer>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

Q_LOGGING_CATEGORY(lcTrayArea, "warmlog.tray", QtWarningMsg)

namespace {

struct FreeReply
{
    void operator()(void *reply) const { std::free(reply); }
};
template <typename Reply> using ReplyPointer = std::unique_ptr<Reply, FreeReply>;

} // namespace

TrayAreaWatch::TrayAreaWatch(QObject *parent) : QObject(parent) {}

TrayAreaWatch::~TrayAreaWatch()
{
    stop();
}

void TrayAreaWatch::start()
{
    stop();
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    // The offscreen platform's X11 side has no connection without a display.
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    static constexpr char Selection[] = "_NET_SYSTEM_TRAY_S0";
    const ReplyPointer<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, sizeof Selection - 1, Selection), nullptr));
    if (!atom || atom->atom == XCB_NONE)
        return;
    const ReplyPointer<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom->atom), nullptr));
    if (!owner || owner->owner == XCB_NONE)
        return;
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, owner->owner, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    m_area = owner->owner;
    QCoreApplication::instance()->installNativeEventFilter(this);
}

void TrayAreaWatch::stop()
{
    if (m_area != 0 && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    m_area = 0;
}

bool TrayAreaWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (m_area == 0 || eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY ||
        reinterpret_cast<const xcb_destroy_notify_event_t *>(event)->window != m_area)
        return false;
    stop();
    qCDebug(lcTrayArea, "the notification area's window is gone");
    // Qt itself learns of it from this same event, after this filter.
    QTimer::singleShot(0, this, &TrayAreaWatch::gone);
    return false;
}
