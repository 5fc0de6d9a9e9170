#include "portlock.h"

#include <QFileInfo>
#include <QLockFile>
#include <QStringList>
#include <QSysInfo>

#include <cerrno>
#include <climits>
#include <csignal>
#include <unistd.h>

namespace portlock {

namespace {

// Where QSerialPort puts a port's lock file: the first of these folders that it may read and
// that holds the file or takes new ones, the port's name within /dev (or its whole path) with
// '/' turned into '_' behind "LCK..".
QString lockFilePath(const QString &devicePath)
{
    static const QStringList folders = {QStringLiteral("/var/lock"),
                                        QStringLiteral("/etc/locks"),
                                        QStringLiteral("/var/spool/locks"),
                                        QStringLiteral("/var/spool/uucp"),
                                        QStringLiteral("/tmp"),
                                        QStringLiteral("/var/tmp"),
                                        QStringLiteral("/var/lock/lockdev"),
                                        QStringLiteral("/run/lock")};
    QString name = devicePath.startsWith(QStringLiteral("/dev/")) ? devicePath.mid(5) : devicePath;
    name.replace(QLatin1Char('/'), QLatin1Char('_')).prepend(QStringLiteral("/LCK.."));
    for (const QString &folder : folders) {
        const QFileInfo info(folder);
        if (info.isReadable() && (QFileInfo::exists(folder + name) || info.isWritable()))
            return folder + name;
    }
    return {};
}

} // namespace

Reason whyRefused(const QString &devicePath)
{
    const QString path = lockFilePath(devicePath);
    const QString fileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    if (path.isEmpty()) {
        return {QStringLiteral(" (no folder takes its lock file)"),
                QStringLiteral("Kein Ordner nimmt die Sperrdatei des Anschlusses auf.\nAbhilfe: "
                               "den Verwalter des Rechners fragen.")};
    }
    if (fileName.toLocal8Bit().size() > NAME_MAX) {
        return {QStringLiteral(" (its name is too long for a lock file)"),
                QStringLiteral("Der Name des Anschlusses ist zu lang für seine Sperrdatei.\n"
                               "Abhilfe: den Anschluss unter einem kürzeren Namen wählen, etwa "
                               "/dev/ttyUSB0.")};
    }
    qint64 pid = 0;
    QString host;
    QString program;
    QLockFile lock(path);
    if (lock.getLockInfo(&pid, &host, &program)) {
        const bool alive = pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
        if (alive || host != QSysInfo::machineHostName()) {
            const QString holder = program.isEmpty()
                                       ? QString::number(pid)
                                       : QStringLiteral("%1 (Prozess %2)").arg(program).arg(pid);
            return {QStringLiteral(" (%1 holds it)").arg(holder),
                    QStringLiteral("Ein anderes Programm benutzt den Anschluss: %1.\n"
                                   "Abhilfe: das andere Programm beenden.")
                        .arg(holder)};
        }
        // A lock left by a process that is gone, which we may not remove.
        return {QStringLiteral(" (a stale lock file %1 of another user)").arg(path),
                QStringLiteral("Eine veraltete Sperrdatei eines anderen Benutzers blockiert den "
                               "Anschluss.\nAbhilfe: im Terminal \"sudo rm %1\" eingeben.")
                    .arg(path)};
    }
    return {QStringLiteral(" (its lock file %1 cannot be made)").arg(path),
            QStringLiteral("Die Sperrdatei %1 lässt sich nicht anlegen.\nAbhilfe: den Verwalter "
                           "des Rechners fragen.")
                .arg(path)};
}

} // namespace portlock
