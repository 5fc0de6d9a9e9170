#pragma once

#include <QComboBox>

class QStorageInfo;

// A drop-down list of the machine's drives: the mounted file systems, the root first, or on
// Windows the drive letters in order. Each entry stands for the root directory of its drive.
class DriveListBox : public QComboBox
{
    Q_OBJECT

public:
    explicit DriveListBox(QWidget *parent = nullptr);
    // The list for these mounted volumes and the system's root volume, which is invalid where the
    // root directory is not a mount point of its own (a container, a chroot).
    DriveListBox(const QList<QStorageInfo> &mounted, const QStorageInfo &root,
                 QWidget *parent = nullptr);

    // The root directory of the chosen drive.
    QString drive() const;
    // Chooses the drive that holds the path.
    void setDriveOf(const QString &path);

private:
    // Whether the list offers the volume, and in which order; they differ between the systems
    // (drivelistbox_posix.cpp, drivelistbox_win.cpp).
    static bool isRealFileSystem(const QStorageInfo &volume);
    static bool comesBefore(const QStorageInfo &a, const QStorageInfo &b);

    void addDrive(const QString &rootPath, const QStorageInfo &volume);
};
