#pragma once

#include "device/portlist.h"
#include "logging/datei.h"
#include "logging/textdatei.h"
#include "main/form1.h"
#include "main/keyedstatusbar.h"
#include "support/fixedclock.h"
#include "support/named.h"
#include "support/scriptedmessageboxes.h"
#include "support/scriptedmodule.h"
#include "support/scriptedquitter.h"
#include "support/scriptedtrayicon.h"

#include <QAction>

#include <memory>

// The real main window over scripted parts. The serial library's call list is the journal of the
// notification area and the end too, so that their order shows. The log windows it opens are
// program-wide, so the rig ends them.
struct OfferedPorts final : PortList
{
    QList<SerialPortName> offered;
    QList<SerialPortName> ports() const override { return offered; }
};

struct WindowRig
{
    ScriptedModule serial;
    FixedClock clock;
    ScriptedMessageBoxes boxes;
    ScriptedTrayIcon tray;
    ScriptedQuitter quitter;
    OfferedPorts ports;
    Platform platform{&clock, &boxes, &tray, &quitter, nullptr, &ports};
    std::unique_ptr<Form1> form = std::make_unique<Form1>(serial, platform);

    WindowRig() { tray.journal = quitter.journal = &serial.calls; }
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
};
