#include "drivelistbox.h"

#include <QStorageInfo>

// Leaves out what the system mounts for itself (proc, sysfs, cgroups, runtime tmpfs and the
// like): what remains is backed by a device or is a share of another machine.
bool DriveListBox::isRealFileSystem(const QStorageInfo &volume)
{
    if (volume.isRoot())
        return true;
    const QByteArray device = volume.device();
    const QByteArray type = volume.fileSystemType();
    return device.startsWith("/dev/") || type.startsWith("nfs") || type == "cifs" ||
           type == "smb3" || type == "zfs" || type == "fuse.sshfs";
}

// The root first, then the mount points in order.
bool DriveListBox::comesBefore(const QStorageInfo &a, const QStorageInfo &b)
{
    if (a.isRoot() != b.isRoot())
        return a.isRoot();
    return a.rootPath() < b.rootPath();
}
