#include "recordfile.h"

#include <cerrno>

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

RecordFile::Failure RecordFile::open(const QString &path)
{
    close();
    int file = -1;
    // Without delete sharing the folder cannot be removed while the file is open.
    const errno_t error = _wsopen_s(&file, reinterpret_cast<const wchar_t *>(path.utf16()),
                                    _O_RDWR | _O_APPEND | _O_CREAT | _O_BINARY | _O_NOINHERIT,
                                    _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (file < 0)
        return failureOf(error);
    const qint64 length = _lseeki64(file, 0, SEEK_END);
    char last[2] = {};
    m_lineOpen = length > 0 && (_lseeki64(file, length - 2, SEEK_SET) < 0 ||
                                _read(file, last, 2) != 2 || last[0] != '\r' || last[1] != '\n');
    m_path = path;
    m_file = file;
    m_length = qMax<qint64>(length, 0);
    return Failure::None;
}

bool RecordFile::stillNamed() const
{
    return true;
}

qint64 RecordFile::writeOnce(const QByteArray &bytes)
{
    return _write(m_file, bytes.constData(), unsigned(bytes.size()));
}

bool RecordFile::truncateTo(qint64 length)
{
    return _chsize_s(m_file, length) == 0;
}

void RecordFile::sync()
{
    if (m_file >= 0)
        _commit(m_file);
}

void RecordFile::close()
{
    if (m_file < 0)
        return;
    sync();
    _close(m_file);
    m_file = -1;
}
