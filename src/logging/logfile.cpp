#include "logfile.h"
#include "logfile_p.h"

#include <QByteArray>
#include <QDir>
#include <QString>

#include <cerrno>

namespace {

using namespace logfile::system;

// 0x80 to 0x9F of Windows-1252; 0 marks the five bytes the code page leaves unassigned.
constexpr char16_t Upper1252[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char windows1252Byte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i) {
        if (Upper1252[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

// The editor's own line ends besides CR and LF.
constexpr char16_t LineSeparator = 0x2028;
constexpr char16_t ParagraphSeparator = 0x2029;

// The system's reason in the program's language.
QString reasonText(int error)
{
    switch (error) {
    case ENOSPC:
        return QStringLiteral("Auf dem Datenträger ist kein Platz mehr frei.");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("Das Speicherkontingent ist erschöpft.");
#endif
    case EACCES:
    case EPERM:
        return QStringLiteral("Keine Zugriffsberechtigung.");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt.");
    case ENOENT:
        return QStringLiteral("Das Verzeichnis existiert nicht.");
    case ENOTDIR:
        return QStringLiteral("Ein Teil des Pfades ist kein Verzeichnis.");
    case EISDIR:
        return QStringLiteral("Der Name gehört zu einem Verzeichnis.");
    case ENAMETOOLONG:
        return QStringLiteral("Der Name ist zu lang.");
    case EINVAL:
        return QStringLiteral("Der Name enthält ein Zeichen, das das Dateisystem nicht zulässt.");
    case EIO:
        return QStringLiteral("Ein- oder Ausgabefehler des Datenträgers.");
    case EFBIG:
        return QStringLiteral("Die Datei ist zu groß.");
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return QStringLiteral("Die Datei wird gerade benutzt.");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Es sind zu viele Dateien geöffnet.");
#ifdef ELOOP
    case ELOOP:
        return QStringLiteral("Der Pfad enthält zu viele symbolische Verknüpfungen.");
#endif
    default:
        return QStringLiteral("%1 (Fehler %2).")
            .arg(qt_error_string(error), QString::number(error));
    }
}

QString refusalText(Kind kind)
{
    switch (kind) {
    case Kind::Directory:
        return reasonText(EISDIR);
    case Kind::Pipe:
        return QStringLiteral("Der Name gehört zu einer Pipe (FIFO), nicht zu einer Datei.");
    case Kind::Device:
        return QStringLiteral("Der Name gehört zu einem Gerät, nicht zu einer Datei.");
    case Kind::Socket:
        return QStringLiteral("Der Name gehört zu einem Socket, nicht zu einer Datei.");
    default:
        return QStringLiteral("Der Name gehört zu keiner gewöhnlichen Datei.");
    }
}

QString failureText(const QString &what, const QString &path, const QString &reason,
                    const QString &outcome)
{
    return what.arg(QDir::toNativeSeparators(path)) + QStringLiteral("\nGrund: ") + reason +
           QStringLiteral("\n\n") + outcome;
}

const QString CannotOpen = QStringLiteral("Die Datei „%1“ kann nicht geöffnet werden.");
const QString NotSaved = QStringLiteral("Das Log wurde nicht gespeichert.");

// Opens a regular file for appending, or refuses with the reason. created tells whether this
// call made the file.
int openRegular(const QString &path, bool *created, Status *status, QString *reason)
{
    if (namesDevice(path)) {
        *reason = refusalText(Kind::Device);
        return -1;
    }
    Status target;
    const bool exists = statusOf(path, &target);
    // Looking first keeps devices free of the side effects of being opened.
    if (exists && target.kind != Kind::Regular) {
        *reason = refusalText(target.kind);
        return -1;
    }
    int file = -1;
    *created = false;
    if (!exists && errno == ENOENT) {
        file = openForAppending(path, true);
        *created = file >= 0;
    }
    // The name appeared in between, or is a link to a file still to be made.
    if (file < 0 && (exists || errno == EEXIST))
        file = openForAppending(path, false);
    if (file < 0) {
        *reason = reasonText(errno);
        return -1;
    }
    if (!statusOf(file, status) || status->kind != Kind::Regular) {
        *reason = refusalText(status->kind);
        closeFile(file);
        return -1;
    }
    return file;
}

} // namespace

namespace logfile {

QString path(const QString &directory, const QString &name, const QString &extension)
{
    QString joined = QDir::toNativeSeparators(directory);
    if (!joined.endsWith(QDir::separator()))
        joined += QDir::separator();
    return joined + name + extension;
}

QString crlfText(QStringView text)
{
    // Raw pointers keep this quick even in a debug build: a week of records is a few million
    // characters.
    QString result(text.size() * 2 + 2, Qt::Uninitialized);
    char16_t *const first = reinterpret_cast<char16_t *>(result.data());
    char16_t *out = first;
    const char16_t *in = text.utf16();
    const char16_t *const end = in + text.size();
    while (in != end) {
        const char16_t c = *in++;
        if (c != u'\n' && c != u'\r' && c != LineSeparator && c != ParagraphSeparator) {
            *out++ = c;
            continue;
        }
        if (c == u'\r' && in != end && *in == u'\n')
            ++in;
        *out++ = u'\r';
        *out++ = u'\n';
    }
    if (out != first && out[-1] != u'\n') {
        *out++ = u'\r';
        *out++ = u'\n';
    }
    result.truncate(out - first);
    return result;
}

QByteArray windows1252(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    const char16_t *in = text.utf16();
    const char16_t *const end = in + text.size();
    while (in != end) {
        const char16_t c = *in++;
        if (c < 0x80) {
            *out++ = static_cast<char>(c);
            continue;
        }
        // A character beyond the basic plane is one character, so one "?".
        if (QChar::isHighSurrogate(c) && in != end && QChar::isLowSurrogate(*in))
            ++in;
        *out++ = windows1252Byte(c);
    }
    bytes.truncate(out - bytes.constData());
    return bytes;
}

QByteArray fileBytes(QStringView text)
{
    return system::encoded(crlfText(text));
}

bool append(const QString &path, const QByteArray &bytes, QString *failure)
{
    // A NUL would end the name early and the bytes would land in another file.
    if (path.contains(QChar::Null) || system::namesStream(path)) {
        *failure = failureText(CannotOpen, path, reasonText(EINVAL), NotSaved);
        return false;
    }

    bool created = false;
    Status opened;
    QString reason;
    const int file = openRegular(path, &created, &opened, &reason);
    if (file < 0) {
        *failure = failureText(CannotOpen, path, reason, NotSaved);
        return false;
    }

    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 written = writeSome(file, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            const int error = written < 0 ? errno : EIO;
            // A half-written log would show up again in full after the next save, and an empty
            // file would look like a saved log.
            if (created) {
                removeCreated(file, path, opened);
            } else {
                cutBack(file, opened.length);
                closeFile(file);
            }
            *failure =
                failureText(QStringLiteral("In die Datei „%1“ kann nicht geschrieben werden."),
                            path, reasonText(error), NotSaved);
            return false;
        }
        data += written;
        left -= written;
    }

    if (closeFile(file) != 0) {
        *failure = failureText(QStringLiteral("Die Datei „%1“ kann nicht geschlossen werden."),
                               path, reasonText(errno),
                               QStringLiteral("Das Log ist möglicherweise nicht vollständig "
                                              "gespeichert."));
        return false;
    }
    return true;
}

} // namespace logfile
