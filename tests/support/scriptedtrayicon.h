#pragma once

#include "platform/trayicon.h"

#include <QStringList>

// For tests: a notification area that shows nothing, records the requests as "NIM_ADD <tip>" and
// "NIM_DELETE", and clicks when told.
class ScriptedTrayIcon final : public TrayIcon
{
    Q_OBJECT

public:
    explicit ScriptedTrayIcon(QObject *parent = nullptr) : TrayIcon(parent) {}

    bool available = true;
    QStringList requests;
    // Where the requests are written; point it at another call list to see the order of both.
    QStringList *journal = &requests;

    bool isAvailable() const override { return available; }
    bool Shell_NotifyIcon(int message, const NotifyIconData &data) override
    {
        if (message == NIM_ADD)
            journal->append(QStringLiteral("NIM_ADD ") + data.szTip);
        else if (message == NIM_DELETE)
            journal->append(QStringLiteral("NIM_DELETE"));
        return TrayIcon::Shell_NotifyIcon(message, data);
    }
    void click(QSystemTrayIcon::ActivationReason reason) { report(reason); }

protected:
    void showIcon(const QIcon &, const QString &) override {}
    void hideIcon() override {}
};
