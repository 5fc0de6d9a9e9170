#include "displaystart.h"

#include <QtGlobal>

bool DisplayStart::chooseWindowSystem(int argc, const char *const *argv)
{
    bool chosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    for (int i = 1; i < argc; ++i)
        chosen =
            chosen || qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0;
    // Qt takes Wayland whenever WAYLAND_DISPLAY is set, where minimising goes unseen (no tray),
    // windows are not centred and fixed-size windows can be maximised. XWayland has none of that.
    if (!chosen && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM",
                qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ? "xcb" : "xcb;wayland");
    return true;
}
