#pragma once

#include "logging/datei.h"
#include "logging/textdatei.h"
#include "main/form1.h"
#include "support/fixedclock.h"
#include "support/named.h"
#include "support/scriptedmessageboxes.h"
#include "support/scriptedmodule.h"

#include <QAction>

#include <memory>

// The real main window over scripted parts, with the log windows it opens. The log windows are
// program-wide, so each test ends them with its rig.
struct LogRig
{
    ScriptedModule serial;
    FixedClock clock;
    ScriptedMessageBoxes boxes;
    Platform platform{&clock, &boxes};
    std::unique_ptr<Form1> form = std::make_unique<Form1>(serial, platform);

    ~LogRig()
    {
        delete datei::instance();
        delete textdatei::instance();
    }

    textdatei *openLog()
    {
        named<QAction>(*form, "m_datei_logd")->trigger();
        return textdatei::instance();
    }
};
