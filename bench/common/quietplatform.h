#pragma once

#include "device/portlist.h"
#include "platform/clock.h"
#include "platform/messageboxes.h"
#include "platform/platform.h"
#include "platform/quitter.h"
#include "platform/trayicon.h"
#include "platform/urlopener.h"

// The machine's clock with seams that stay silent: questions are answered no, messages, links and
// the end are dropped, no port is offered and no notification area exists.
struct QuietPlatform
{
    struct Boxes final : MessageBoxes
    {
        Answer ask(const QString &, Answer, const QString &) override { return Answer::No; }
        void inform(const QString &, Icon, const QString &) override {}
    };
    struct NoTray final : TrayIcon
    {
        bool isAvailable() const override { return false; }
        void showIcon(const QIcon &, const QString &) override {}
        void hideIcon() override {}
    };
    struct Stay final : Quitter
    {
        void quit() override {}
    };
    struct NoBrowser final : UrlOpener
    {
        bool open(const QString &) override { return false; }
    };
    struct NoPorts final : PortList
    {
        QList<SerialPortName> ports() const override { return {}; }
    };

    SystemClock clock;
    Boxes boxes;
    NoTray tray;
    Stay quitter;
    NoBrowser urlOpener;
    NoPorts ports;
    Platform platform{clock, boxes, tray, quitter, urlOpener, ports};
};
