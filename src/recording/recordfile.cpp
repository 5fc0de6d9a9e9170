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
