#include "logfile.h"
#include "logfile_p.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace logfile::system {

namespace {

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

} // namespace

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

bool namesDevice(const QString &)
{
    return false;
}

bool namesStream(const QString &)
{
    return false;
}

// The code page the log files have always been read in.
QByteArray encoded(QStringView text)
{
    return windows1252(text);
}

} // namespace logfile::system
