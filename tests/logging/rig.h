#pragma once

#include "logging/datei.h"
#include "logging/textdatei.h"
#include "main/form1.h"
#include "support/fixedclock.h"
#include "support/scriptedmessageboxes.h"
#include "support/scriptedmodule.h"

#include <QAction>
#include <QLineEdit>

#include <memory>

// The real main window over scripted parts, with the log windows it opens. The log windows are
// program-wide, so each test ends them with its rig.
struct LogRig
{
    ScriptedModule serial;
    FixedClock clock;
    ScriptedMessageBoxes boxes;
    Platform platform;
    std::unique_ptr<Form1> form;

    LogRig()
    {
        platform.clock = &clock;
        platform.messageBoxes = &boxes;
        form = std::make_unique<Form1>(serial, platform);
    }

    ~LogRig()
    {
        delete datei::instance();
        delete textdatei::instance();
    }

    textdatei *openLog()
    {
        form->m_datei_logd->trigger();
        return textdatei::instance();
    }

    void show(const QTime &time, const QString &current, const QString &minimum,
              const QString &maximum)
    {
        clock.time = time;
        form->Text1->setText(current);
        form->Text2->setText(minimum);
        form->Text3->setText(maximum);
    }
};
