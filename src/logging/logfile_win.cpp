#include "logfile_p.h"

#include <QByteArray>
#include <QFileInfo>
#include <QString>

#include <cerrno>

#include <fcntl.h>
#include <io.h>
#include <qt_windows.h>
#include <share.h>
#include <sys/stat.h>

namespace logfile::system {

namespace {

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

} // namespace

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
bool namesDevice(const QString &path)
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
// A colon after the drive names a hidden stream of the file before it.
bool namesStream(const QString &path)
{
    return path.indexOf(u':', 2) >= 0;
}

// The system's ANSI code page, which the files' readers here use. One character beyond the basic
// plane is one "?", as in the fixed code page elsewhere.
QByteArray encoded(QStringView text)
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

} // namespace logfile::system
