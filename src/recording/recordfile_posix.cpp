#include "recordfile.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

RecordFile::Failure RecordFile::open(const QString &path)
{
    close();
    const int file = ::open(QFile::encodeName(path).constData(),
                            O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
    if (file < 0)
        return failureOf(errno);
    struct stat info;
    if (::fstat(file, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(file);
        return Failure::Other;
    }
    char last[2] = {};
    m_lineOpen = info.st_size > 0 && (::pread(file, last, 2, info.st_size - 2) != 2 ||
                                      last[0] != '\r' || last[1] != '\n');
    m_path = path;
    m_file = file;
    m_length = info.st_size;
    m_device = quint64(info.st_dev);
    m_inode = quint64(info.st_ino);
    return Failure::None;
}

bool RecordFile::stillNamed() const
{
    struct stat info;
    return ::stat(QFile::encodeName(m_path).constData(), &info) == 0 &&
           quint64(info.st_dev) == m_device && quint64(info.st_ino) == m_inode;
}

qint64 RecordFile::writeOnce(const QByteArray &bytes)
{
    ssize_t written;
    do {
        written = ::write(m_file, bytes.constData(), size_t(bytes.size()));
    } while (written < 0 && errno == EINTR);
    return written;
}

bool RecordFile::truncateTo(qint64 length)
{
    return ::ftruncate(m_file, length) == 0;
}

void RecordFile::sync()
{
    if (m_file >= 0)
        ::fdatasync(m_file);
}

void RecordFile::close()
{
    if (m_file < 0)
        return;
    sync();
    ::close(m_file);
    m_file = -1;
}
