#include "logfile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef Q_OS_WIN
#include <io.h>
#include <qt_windows.h>
#include <share.h>
#else
#include <unistd.h>
#endif

namespace {

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

// What a name leads to, as far as saving is concerned.
enum class Kind { Regular, Directory, Pipe, Device, Socket, Other };

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

// What the file system says about a name or an open file.
struct Status
{
    Kind kind = Kind::Other;
    qint64 length = 0;
    quint64 device = 0;
    quint64 inode = 0;
};

// The few calls to the C library that differ between the platforms. Each sets errno on failure.
#ifdef Q_OS_WIN
Kind kindOf(unsigned mode)
{
    switch (mode & _S_IFMT) {
    case _S_IFREG:
        return Kind::Regular;
    case _S_IFDIR:
        return Kind::Directory;
    case _S_IFIFO:
        return Kind::Pipe;
    case _S_IFCHR:
        return Kind::Device;
    default:
        return Kind::Other;
    }
}
bool statusOf(const QString &path, Status *status)
{
    struct _stat64 info;
    if (_wstat64(reinterpret_cast<const wchar_t *>(path.utf16()), &info) != 0)
        return false;
    *status = {kindOf(info.st_mode), info.st_size};
    return true;
}
bool statusOf(int file, Status *status)
{
    struct _stat64 info;
    if (_fstat64(file, &info) != 0)
        return false;
    *status = {kindOf(info.st_mode), info.st_size};
    return true;
}
int openForAppending(const QString &path, bool exclusive)
{
    int file = -1;
    errno = _wsopen_s(&file, reinterpret_cast<const wchar_t *>(path.utf16()),
                      _O_WRONLY | _O_APPEND | _O_CREAT | _O_BINARY | _O_NOINHERIT |
                          (exclusive ? _O_EXCL : 0),
                      _SH_DENYNO, _S_IREAD | _S_IWRITE);
    // The C library reports a file another program holds open without sharing (a sheet open in
    // a spreadsheet) as a missing permission.
    const DWORD error = GetLastError();
    if (file < 0 && (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION))
        errno = EBUSY;
    return file;
}
qint64 writeSome(int file, const char *data, qint64 size)
{
    return _write(file, data, static_cast<unsigned>(qMin<qint64>(size, 1 << 30)));
}
void cutBack(int file, qint64 length)
{
    _chsize_s(file, length);
}
int closeFile(int file)
{
    return _close(file);
}
// Closes the file. An open file without delete sharing cannot be renamed or deleted by anyone
// else, so the name still leads to the file this save created.
void removeCreated(int file, const QString &path, const Status &)
{
    _close(file);
    _wunlink(reinterpret_cast<const wchar_t *>(path.utf16()));
}
// CON, NUL, COM1 and the like are devices in every folder, whatever extension follows.
bool isDosDeviceName(const QString &path)
{
    QString base = QFileInfo(path).fileName();
    base.truncate(base.indexOf(u'.') < 0 ? base.size() : base.indexOf(u'.'));
    while (base.endsWith(u' '))
        base.chop(1);
    base = base.toUpper();
    for (const char *name : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (base == QLatin1String(name))
            return true;
    }
    const QStringView digits = u"123456789\u00B9\u00B2\u00B3";
    return base.size() == 4 && (base.startsWith(u"COM") || base.startsWith(u"LPT")) &&
           digits.contains(base.at(3));
}
// One character beyond the basic plane is one "?", as in the fixed code page elsewhere.
QByteArray ansiCodePage(QStringView text)
{
    QString plane;
    plane.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!text[i].isSurrogate()) {
            plane += text[i];
            continue;
        }
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        plane += u'?';
    }
    const UINT codePage = GetACP();
    if (codePage == CP_UTF8)
        return plane.toUtf8();
    QByteArray bytes;
    // In pieces, as the call counts in int.
    constexpr qsizetype Piece = 1 << 20;
    for (qsizetype at = 0; at < plane.size(); at += Piece) {
        const auto *wide = reinterpret_cast<const wchar_t *>(plane.utf16()) + at;
        const int count = int(qMin(Piece, plane.size() - at));
        const int size = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, count, nullptr,
                                             0, "?", nullptr);
        const qsizetype start = bytes.size();
        bytes.resize(start + size);
        WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, count, bytes.data() + start, size,
                            "?", nullptr);
    }
    return bytes;
}
#else
Kind kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return Kind::Regular;
    if (S_ISDIR(mode))
        return Kind::Directory;
    if (S_ISFIFO(mode))
        return Kind::Pipe;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return Kind::Device;
    if (S_ISSOCK(mode))
        return Kind::Socket;
    return Kind::Other;
}
Status statusFrom(const struct stat &info)
{
    return {kindOf(info.st_mode), info.st_size, quint64(info.st_dev), quint64(info.st_ino)};
}
bool statusOf(const QString &path, Status *status)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    *status = statusFrom(info);
    return true;
}
bool statusOf(int file, Status *status)
{
    struct stat info;
    if (::fstat(file, &info) != 0)
        return false;
    *status = statusFrom(info);
    return true;
}
int openForAppending(const QString &path, bool exclusive)
{
    // Should the name have become a FIFO or a terminal since it was looked at, opening neither
    // waits for a reader nor takes the terminal over; the check after opening refuses it.
    const int file = ::open(QFile::encodeName(path).constData(),
                            O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK |
                                (exclusive ? O_EXCL : 0),
                            0666);
    if (file >= 0)
        ::fcntl(file, F_SETFL, ::fcntl(file, F_GETFL) & ~O_NONBLOCK);
    return file;
}
qint64 writeSome(int file, const char *data, qint64 size)
{
    return ::write(file, data, static_cast<size_t>(size));
}
void cutBack(int file, qint64 length)
{
    if (::ftruncate(file, length) != 0) {
        // Nothing more can be done; the message already tells the user the save failed.
    }
}
int closeFile(int file)
{
    return ::close(file);
}
// Closes the file. The name is removed only while it still leads to the file this save created.
void removeCreated(int file, const QString &path, const Status &created)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat now;
    if (::lstat(name.constData(), &now) == 0 && quint64(now.st_dev) == created.device &&
        quint64(now.st_ino) == created.inode)
        ::unlink(name.constData());
    ::close(file);
}
#endif

// Opens a regular file for appending, or refuses with the reason. created tells whether this
// call made the file.
int openRegular(const QString &path, bool *created, Status *status, QString *reason)
{
#ifdef Q_OS_WIN
    if (isDosDeviceName(path)) {
        *reason = refusalText(Kind::Device);
        return -1;
    }
#endif
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
#ifdef Q_OS_WIN
    return ansiCodePage(crlfText(text));
#else
    return windows1252(crlfText(text));
#endif
}

bool append(const QString &path, const QByteArray &bytes, QString *failure)
{
    // A NUL would end the name early and the bytes would land in another file. On Windows a
    // colon after the drive names a hidden stream of the file before it.
    bool refused = path.contains(QChar::Null);
#ifdef Q_OS_WIN
    refused = refused || path.indexOf(u':', 2) >= 0;
#endif
    if (refused) {
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
