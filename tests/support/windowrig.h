#pragma once

#include "chart/historywindow.h"
#include "device/portlist.h"
#include "logging/logfiledialog.h"
#include "logging/logwindow.h"
#include "main/keyedstatusbar.h"
#include "main/mainwindow.h"
#include "platform/clock.h"
#include "platform/messageboxes.h"
#include "platform/quitter.h"
#include "platform/trayicon.h"
#include "platform/urlopener.h"
#include "support/named.h"
#include "support/scriptedlink.h"

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

// Message boxes that answer questions from a script, once it is empty with No, and journal each
// box as "title: text (Yes first)", "(No first)" for a question, "(Information)" and so on.
struct ScriptedMessageBoxes final : MessageBoxes
{
    explicit ScriptedMessageBoxes(QStringList *journal) : journal(journal) {}
    QStringList *journal;
    QList<Answer> answers;
    int shown = 0;

    Answer ask(const QString &question, Answer defaultAnswer, const QString &title) override
    {
        note(title, question, defaultAnswer == Answer::Yes ? "Yes first" : "No first");
        return answers.isEmpty() ? Answer::No : answers.takeFirst();
    }
    void inform(const QString &message, Icon icon, const QString &title) override
    {
        const char *const names[] = {"Information", "Warning", "Critical"};
        note(title, message, names[int(icon)]);
    }
    void note(const QString &title, const QString &text, const char *kind)
    {
        ++shown;
        *journal << QStringLiteral("%1: %2 (%3)").arg(title, text, QLatin1String(kind));
    }
};

// A notification area that shows nothing, journals "tray shows <tip>" and "tray hidden" for what
// it carries out, and clicks when told.
struct ScriptedTrayIcon final : TrayIcon
{
    explicit ScriptedTrayIcon(QStringList *journal) : journal(journal) {}
    QStringList *journal;
    bool available = true;
    QString shownTip; // empty while hidden

    bool isAvailable() const override { return available; }
    void click(QSystemTrayIcon::ActivationReason reason) { report(reason); }
    void showIcon(const QIcon &, const QString &tip) override
    {
        *journal << QStringLiteral("tray shows ") + (shownTip = tip);
    }
    void hideIcon() override
    {
        *journal << QStringLiteral("tray hidden");
        shownTip.clear();
    }
};

// Journals "open <address>"; opens when told.
struct ScriptedUrlOpener final : UrlOpener
{
    explicit ScriptedUrlOpener(QStringList *journal) : journal(journal) {}
    QStringList *journal;
    bool opens = true;
    bool open(const QString &address) override
    {
        *journal << QStringLiteral("open ") + address;
        return opens;
    }
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
    ScriptedLink serial;
    FixedClock clock;
    ScriptedMessageBoxes boxes{&serial.calls};
    ScriptedTrayIcon tray{&serial.calls};
    ScriptedUrlOpener urls{&serial.calls};
    OfferedPorts ports;
    Platform platform{clock, boxes, tray, *this, urls, ports};
    std::unique_ptr<MainWindow> form = std::make_unique<MainWindow>(serial, platform);

    ~WindowRig() override
    {
        delete LogFileDialog::instance();
        delete LogWindow::instance();
    }
    void quit() override { serial.calls << QStringLiteral("END"); }

    // The course window, opened through the menu.
    HistoryWindow *openHistory()
    {
        named<QAction>(*form, "m_datei_verlauf")->trigger();
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *history = qobject_cast<HistoryWindow *>(window);
            if (history && history->isVisible())
                return history;
        }
        return nullptr;
    }

    LogWindow *openLog()
    {
        named<QAction>(*form, "m_datei_logd")->trigger();
        return LogWindow::instance();
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
                          : QStringLiteral("no control ") + name);
        }
        return texts;
    }

    void put(const char *names, const QStringList &texts) const
    {
        const QList<QByteArray> keys = QByteArray(names).split(' ');
        for (int i = 0; i < keys.size(); ++i)
            named<QObject>(*form, keys[i].constData())->setProperty("text", texts[i]);
    }
};
