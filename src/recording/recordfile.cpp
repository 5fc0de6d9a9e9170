#include "recordfile.h"

#include <cerrno>

RecordFile::Failure RecordFile::failureOf(int error)
{
    switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return Failure::Full;
    case ENOENT:
    case ENOTDIR:
        return Failure::Missing;
    case EACCES:
    case EPERM:
    case EROFS:
        return Failure::NoPermission;
    default:
        return Failure::Other;
    }
}

RecordFile::Failure RecordFile::append(const QByteArray &bytes)
{
    if (!stillNamed())
        return Failure::Missing;
    const QByteArray joined = m_lineOpen ? QByteArrayLiteral("\r\n") + bytes : bytes;
    const qint64 written = writeOnce(joined);
    if (written == joined.size()) {
        m_length += written;
        m_lineOpen = false;
        return Failure::None;
    }
    const int error = written < 0 ? errno : ENOSPC;
    // The records wait to be written again whole; the part that got through goes, or at least
    // ends its line where the next one starts.
    if (written > 0 && !truncateTo(m_length)) {
        m_length += written;
        m_lineOpen = !QByteArrayView(joined).first(written).endsWith("\r\n");
    }
    return failureOf(error);
}
