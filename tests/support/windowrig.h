#pragma once

#include "device/portlist.h"
#include "logging/datei.h"
#include "logging/textdatei.h"
#include "main/form1.h"
#include "main/keyedstatusbar.h"
#include "platform/clock.h"
#include "platform/messagebox.h"
#include "platform/quitter.h"
#include "support/named.h"
#include "support/scriptedmodule.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

#ifdef Q_OS_WIN
constexpr bool Windows = true;
#else
constexpr bool Windows = false;
#endif

// Windows' regional time format has 12 hours under US English, which Wine gives the C locale.
inline bool usClock()
{
    const QString locale = qEnvironmentVariable("LC_ALL");
    return Windows && (locale == QLatin1String("C") || locale.startsWith(QLatin1String("en_US")));
}

struct FixedClock final : Clock
{
    QTime time{16, 0, 0};
    QTime currentTime() const override { return time; }
};

// Message boxes that answer from a script, once it is empty the harmless answer (OK, or No to a
// question), and record each box, in the journal too as "title: prompt (style)".
struct ScriptedMessageBoxes final : MessageBoxes
{
    explicit ScriptedMessageBoxes(QStringList *journal) : journal(journal) {}
    QStringList *journal;
    QList<int> answers; // msgbox::Answer...
    int shown = 0;

    int show(const QString &prompt, int style, const QString &title) override
    {
        ++shown;
        *journal << QStringLiteral("%1: %2 (%3)").arg(title, prompt).arg(style);
        if (!answers.isEmpty())
            return answers.takeFirst();
        return (style & 0x0F) == msgbox::StyleYesNo ? msgbox::AnswerNo : msgbox::AnswerOk;
    }
};

// A notification area that shows nothing, journals "NIM_ADD <tip>" and "NIM_DELETE", and clicks
// when told.
struct ScriptedTrayIcon final : TrayIcon
{
    explicit ScriptedTrayIcon(QStringList *journal) : journal(journal) {}
    QStringList *journal;
    bool available = true;

    bool isAvailable() const override { return available; }
    bool Shell_NotifyIcon(int message, const NotifyIconData &data) override
    {
        if (message == NIM_ADD)
            *journal << QStringLiteral("NIM_ADD ") + data.szTip;
        if (message == NIM_DELETE)
            *journal << QStringLiteral("NIM_DELETE");
        return TrayIcon::Shell_NotifyIcon(message, data);
    }
    void click(QSystemTrayIcon::ActivationReason reason) { report(reason); }
    void showIcon(const QIcon &, const QString &) override {}
    void hideIcon() override {}
};

struct OfferedPorts final : PortList
{
    QList<SerialPortName> offered;
    QList<SerialPortName> ports() const override { return offered; }
};

// The real main window over scripted parts; the rig's end only journals "END". The serial
// library's call list is the journal of all, so that their order shows. The log windows it opens
// are program-wide, so the rig ends them.
struct WindowRig : Quitter
{
    ScriptedModule serial;
    FixedClock clock;
    ScriptedMessageBoxes boxes{&serial.calls};
    ScriptedTrayIcon tray{&serial.calls};
    OfferedPorts ports;
    Platform platform{&clock, &boxes, &tray, this, nullptr, &ports};
    std::unique_ptr<Form1> form = std::make_unique<Form1>(serial, platform);

    ~WindowRig() override
    {
        delete datei::instance();
        delete textdatei::instance();
    }
    void End() override { serial.calls << QStringLiteral("END"); }

    textdatei *openLog()
    {
        named<QAction>(*form, "m_datei_logd")->trigger();
        return textdatei::instance();
    }

    // What the named controls and status panels show, frames their titles; "caption" the title.
    QStringList show(const char *names) const
    {
        QStringList texts;
        for (const QString &name : QString::fromLatin1(names).split(u' ')) {
            const QObject *control = form->findChild<QObject *>(name);
            texts << (name == u"caption" ? form->windowTitle()
                      : control
                          ? control->property(control->inherits("QGroupBox") ? "title" : "text")
                                .toString()
                          : named<KeyedStatusBar>(*form, "StatusBar1")->panelText(name));
        }
        return texts;
    }

    void put(const char *names, const QStringList &texts) const
    {
        const QStringList keys = QString::fromLatin1(names).split(u' ');
        for (int i = 0; i < keys.size(); ++i) {
            if (QObject *control = form->findChild<QObject *>(keys[i]))
                control->setProperty("text", texts[i]);
            else
                named<KeyedStatusBar>(*form, "StatusBar1")->setPanelText(keys[i], texts[i]);
        }
    }
};
