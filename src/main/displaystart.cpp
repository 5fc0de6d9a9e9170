#include "displaystart.h"

#include <QMessageLogContext>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

struct HeldMessage
{
    QtMsgType type;
    QByteArray file;
    int line;
    QByteArray function;
    QByteArray category;
    QString text;
};

// Qt's message handler is a plain function, so what it holds back has to live outside any object;
// it is only used while the QApplication is being built, when Qt's own threads may report too.
std::mutex heldMutex;
std::vector<HeldMessage> *heldMessages = nullptr;
QtMessageHandler previousHandler = nullptr;

void holdMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    // A fatal message while the application is built means that no platform plugin could start,
    // which on a desktop system is a display that cannot be opened. Nothing is open yet that would
    // need ending.
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(DisplayStart::failureLine()));
        std::fflush(stderr);
        std::_Exit(1);
    }
    const std::lock_guard lock(heldMutex);
    if (!heldMessages) {
        previousHandler(type, context, text);
        return;
    }
    heldMessages->push_back(
        {type, context.file, context.line, context.function, context.category, text});
}

} // namespace

DisplayStart::DisplayStart(int argc, const char *const *argv)
    : m_platformSet(qEnvironmentVariableIsSet("QT_QPA_PLATFORM")),
      m_platform(qgetenv("QT_QPA_PLATFORM"))
{
    if (chooseWindowSystem(argc, argv)) {
        heldMessages = new std::vector<HeldMessage>;
        previousHandler = qInstallMessageHandler(holdMessage);
    }
}

void DisplayStart::started()
{
    const std::lock_guard lock(heldMutex);
    if (!heldMessages)
        return;
    qInstallMessageHandler(previousHandler);
    for (const HeldMessage &message : *heldMessages) {
        const QMessageLogContext context(message.file.constData(), message.line,
                                         message.function.constData(),
                                         message.category.constData());
        previousHandler(message.type, context, message.text);
    }
    delete heldMessages;
    heldMessages = nullptr;
    if (m_platformSet)
        qputenv("QT_QPA_PLATFORM", m_platform);
    else
        qunsetenv("QT_QPA_PLATFORM");
}

QString DisplayStart::failureLine()
{
    QStringList tried;
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        if (!qEnvironmentVariableIsEmpty(name))
            tried << QStringLiteral("%1=%2").arg(QLatin1String(name), qEnvironmentVariable(name));
    }
    if (tried.isEmpty())
        return QStringLiteral(
            "warmlog: no display to open (DISPLAY and WAYLAND_DISPLAY are unset)");
    return QStringLiteral("warmlog: cannot open the display %1")
        .arg(tried.join(QStringLiteral(" or ")));
}
