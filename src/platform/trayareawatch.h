#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

// Tells at once when the notification area's window goes, where the desktop says so: on X11 the
// area owns the selection _NET_SYSTEM_TRAY_S0, and its window's end is an event. Elsewhere it
// never reports, and the tray icon's own check finds the loss a little later.
class TrayAreaWatch : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit TrayAreaWatch(QObject *parent = nullptr);
    ~TrayAreaWatch() override;

    // Watches the area that is there now.
    void start();
    void stop();

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

Q_SIGNALS:
    void gone();

private:
    quint32 m_area = 0; // the area's window; 0: none watched
};
