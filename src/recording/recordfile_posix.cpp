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

RecordFile::Failure RecordFile::append(const QByteArray &bytes)
{
    if (!stillNamed())
        return Failure::Missing;
    const QByteArray joined = m_lineOpen ? QByteArrayLiteral("\r\n") + bytes : bytes;
    ssize_t written;
    do {
        written = ::write(m_file, joined.constData(), size_t(joined.size()));
    } while (written < 0 && errno == EINTR);
    if (written == joined.size()) {
        m_length += written;
        m_lineOpen = false;
        return Failure::None;
    }
    const int error = written < 0 ? errno : ENOSPC;
    if (written > 0) {
        // The records wait to be written again whole; the part that got through goes, or at
        // least ends its line where the next one starts.
        if (::ftruncate(m_file, m_length) != 0) {
            m_length += written;
            m_lineOpen = !QByteArrayView(joined).first(written).endsWith("\r\n");
        }
    }
    return failureOf(error);
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
