#pragma once

#include "device/portlist.h"
#include "logging/datei.h"
#include "logging/textdatei.h"
#include "main/form1.h"
#include "main/keyedstatusbar.h"
#include "platform/clock.h"
#include "platform/messagebox.h"
#include "platform/quitter.h"
#include "platform/trayicon.h"
#include "support/named.h"
#include "support/scriptedmodule.h"

#include <QAction>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

#include <memory>

// A clock that shows whatever time the test sets.
class FixedClock final : public Clock
{
public:
    QTime time{16, 0, 0};
    QTime currentTime() const override { return time; }
};

// Message boxes that answer from a script and record what they were asked.
class ScriptedMessageBoxes final : public MessageBoxes
{
public:
    struct Call
    {
        QString prompt;
        int style = 0;
        QString title;
    };

    // Answers (msgbox::Answer...), oldest first. An empty queue gives the harmless answer: OK, or
    // No for a box that asks.
    QList<int> answers;
    QList<Call> calls;
    // If set, each box goes here too, as asked() shows it: the journal of other scripted parts.
    QStringList *journal = nullptr;

    int show(const QString &prompt, int style, const QString &title) override
    {
        calls.append({prompt, style, title});
        if (journal)
            journal->append(asked().constLast());
        if (!answers.isEmpty())
            return answers.takeFirst();
        return (style & 0x0F) == msgbox::StyleYesNo ? msgbox::AnswerNo : msgbox::AnswerOk;
    }

    // The boxes shown so far, each as "title: prompt (style)".
    QStringList asked() const
    {
        QStringList shown;
        for (const Call &call : calls)
            shown << QStringLiteral("%1: %2 (%3)").arg(call.title, call.prompt).arg(call.style);
        return shown;
    }
};

// An end that only writes "END" to a journal.
class ScriptedQuitter final : public Quitter
{
public:
    explicit ScriptedQuitter(QStringList *journal) : journal(journal) {}
    QStringList *journal;

    void End() override { journal->append(QStringLiteral("END")); }
};

// A notification area that shows nothing, writes the requests to a journal as "NIM_ADD <tip>" and
// "NIM_DELETE", and clicks when told.
class ScriptedTrayIcon final : public TrayIcon
{
    Q_OBJECT

public:
    explicit ScriptedTrayIcon(QStringList *journal) : journal(journal) {}

    bool available = true;
    QStringList *journal;

    bool isAvailable() const override { return available; }
    bool Shell_NotifyIcon(int message, const NotifyIconData &data) override
    {
        if (message == NIM_ADD || message == NIM_DELETE)
            journal->append(message == NIM_ADD ? QStringLiteral("NIM_ADD ") + data.szTip
                                               : QStringLiteral("NIM_DELETE"));
        return TrayIcon::Shell_NotifyIcon(message, data);
    }
    void click(QSystemTrayIcon::ActivationReason reason) { report(reason); }

protected:
    void showIcon(const QIcon &, const QString &) override {}
    void hideIcon() override {}
};

// The serial ports a test offers besides Com 1 to Com 4.
struct OfferedPorts final : PortList
{
    QList<SerialPortName> offered;
    QList<SerialPortName> ports() const override { return offered; }
};

// The real main window over scripted parts. The serial library's call list is the journal of the
// notification area and the end too, so that their order shows. The log windows it opens are
// program-wide, so the rig ends them.
struct WindowRig
{
    ScriptedModule serial;
    FixedClock clock;
    ScriptedMessageBoxes boxes;
    ScriptedTrayIcon tray{&serial.calls};
    ScriptedQuitter quitter{&serial.calls};
    OfferedPorts ports;
    Platform platform{&clock, &boxes, &tray, &quitter, nullptr, &ports};
    std::unique_ptr<Form1> form = std::make_unique<Form1>(serial, platform);

    ~WindowRig()
    {
        delete datei::instance();
        delete textdatei::instance();
    }

    textdatei *openLog()
    {
        named<QAction>(*form, "m_datei_logd")->trigger();
        return textdatei::instance();
    }

    // What the named places show: controls, status panels by key, "caption".
    QStringList show(const char *names) const
    {
        QStringList texts;
        for (const QString &name : QString::fromLatin1(names).split(QLatin1Char(' '))) {
            const QObject *control = form->findChild<QObject *>(name);
            texts << (name == QLatin1String("caption") ? form->windowTitle()
                      : control
                          ? control->property(control->inherits("QGroupBox") ? "title" : "text")
                                .toString()
                          : named<KeyedStatusBar>(*form, "StatusBar1")->panelText(name));
        }
        return texts;
    }

    // Puts texts into the named controls and status panels, the way show() reads them.
    void put(const char *names, const QStringList &texts) const
    {
        const QStringList keys = QString::fromLatin1(names).split(QLatin1Char(' '));
        for (int i = 0; i < keys.size(); ++i) {
            if (QObject *control = form->findChild<QObject *>(keys[i]))
                control->setProperty("text", texts.value(i));
            else
                named<KeyedStatusBar>(*form, "StatusBar1")->setPanelText(keys[i], texts.value(i));
        }
    }
};
