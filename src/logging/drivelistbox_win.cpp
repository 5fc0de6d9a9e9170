#include "drivelistbox.h"

#include <QStorageInfo>

// Windows mounts nothing for itself that the list would have to leave out.
bool DriveListBox::isRealFileSystem(const QStorageInfo &)
{
    return true;
}

// The drive letters in order.
bool DriveListBox::comesBefore(const QStorageInfo &a, const QStorageInfo &b)
{
    return a.rootPath() < b.rootPath();
}
