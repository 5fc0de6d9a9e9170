#include "openfailure.h"

#include <QFileInfo>
#include <QLockFile>
#include <QStringList>
#include <QSysInfo>

#include <cerrno>
#include <climits>
#include <csignal>
#include <unistd.h>

namespace openfailure {

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

Explanation refused(const QString &devicePath)
{
    const QFileInfo device(devicePath);
    if (!device.isReadable() || !device.isWritable()) {
        return {QStringLiteral("Keine Berechtigung"),
                QStringLiteral("im Terminal \"sudo adduser $USER dialout\" eingeben, dann ab- "
                               "und wieder anmelden."),
                QStringLiteral(" (add yourself to the dialout group: sudo adduser $USER dialout, "
                               "then log in again)")};
    }
    // A device we may use that still refuses us is locked: what stands at its lock file says why.
    const QString path = lockFilePath(devicePath);
    const QString fileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    if (path.isEmpty()) {
        return {QStringLiteral("Kein Ordner nimmt seine Sperrdatei auf"),
                QStringLiteral("den Verwalter des Rechners fragen."),
                QStringLiteral(" (no folder takes its lock file)")};
    }
    if (fileName.toLocal8Bit().size() > NAME_MAX) {
        return {QStringLiteral("Sein Name ist zu lang für seine Sperrdatei"),
                QStringLiteral("den Anschluss unter einem kürzeren Namen wählen, etwa "
                               "/dev/ttyUSB0."),
                QStringLiteral(" (its name is too long for a lock file)")};
    }
    qint64 pid = 0;
    QString host;
    QString program;
    if (QLockFile(path).getLockInfo(&pid, &host, &program)) {
        const bool alive = pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
        if (alive || host != QSysInfo::machineHostName()) {
            const QString holder = program.isEmpty()
                                       ? QString::number(pid)
                                       : QStringLiteral("%1 (Prozess %2)").arg(program).arg(pid);
            return {QStringLiteral("Ein anderes Programm benutzt ihn: %1").arg(holder),
                    QStringLiteral("das andere Programm beenden, dann den Anschluss noch einmal "
                                   "wählen."),
                    QStringLiteral(" (%1 holds it)").arg(holder)};
        }
        // Left by a process that is gone; another user's, or we could have removed it.
        return {QStringLiteral("Eine veraltete Sperrdatei eines anderen Benutzers blockiert ihn"),
                QStringLiteral("im Terminal \"sudo rm %1\" eingeben.").arg(path),
                QStringLiteral(" (a stale lock file %1 of another user)").arg(path)};
    }
    return {QStringLiteral("Seine Sperrdatei %1 lässt sich nicht anlegen").arg(path),
            QStringLiteral("den Verwalter des Rechners fragen."),
            QStringLiteral(" (its lock file %1 cannot be made)").arg(path)};
}

QString lossReason(QSerialPort::SerialPortError error, const QString &errorText)
{
    // A hung-up terminal reads as end of file or fails with EIO; QSerialPort reports either with
    // an errno text that tells the user nothing.
    if (error == QSerialPort::ReadError || error == QSerialPort::ResourceError)
        return QStringLiteral("hung up");
    return errorText;
}

} // namespace openfailure
