#include "device/qtserialmodule.h"
#include "main/form1.h"
#include "platform/clock.h"
#include "platform/messagebox.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Warmlog"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(WARMLOG_VERSION_MAJOR)
                                            .arg(WARMLOG_VERSION_MINOR)
                                            .arg(WARMLOG_VERSION_PATCH));

    QtSerialModule serial;
    SystemClock clock;
    QtMessageBoxes messageBoxes;
    Platform platform;
    platform.clock = &clock;
    platform.messageBoxes = &messageBoxes;

    Form1 form1(serial, platform);
    form1.show();
    return QApplication::exec();
}
