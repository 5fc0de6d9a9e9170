#include "drivelistbox.h"

#include <QDir>
#include <QStorageInfo>

#include <algorithm>

DriveListBox::DriveListBox(QWidget *parent)
    : DriveListBox(QStorageInfo::mountedVolumes(), QStorageInfo::root(), parent)
{
}

DriveListBox::DriveListBox(const QList<QStorageInfo> &mounted, const QStorageInfo &root,
                           QWidget *parent)
    : QComboBox(parent)
{
    QList<QStorageInfo> volumes;
    for (const QStorageInfo &volume : mounted) {
        if (volume.isValid() && volume.isReady() && isRealFileSystem(volume))
            volumes << volume;
    }
    std::sort(volumes.begin(), volumes.end(), comesBefore);
    // Without a root among the mounts the list still offers one, named after the root volume
    // where there is one; its directory is the root directory all the same.
    if (std::none_of(volumes.cbegin(), volumes.cend(),
                     [](const QStorageInfo &volume) { return volume.isRoot(); }))
        addDrive(QDir::rootPath(), root);

    for (const QStorageInfo &volume : std::as_const(volumes))
        addDrive(volume.rootPath(), volume);
}

void DriveListBox::addDrive(const QString &rootPath, const QStorageInfo &volume)
{
    QString text = QDir::toNativeSeparators(rootPath);
    if (!volume.name().isEmpty())
        text += QStringLiteral(" [%1]").arg(volume.name());
    addItem(text, rootPath);
}

QString DriveListBox::drive() const
{
    return currentData().toString();
}

void DriveListBox::setDriveOf(const QString &path)
{
    // The drive whose root is the longest beginning of the path; the root drive at least.
    const QString absolute = QDir(path).absolutePath();
    int best = 0;
    qsizetype bestLength = 0;
    for (int i = 0; i < count(); ++i) {
        QString root = itemData(i).toString();
        if (!root.endsWith(u'/'))
            root += u'/';
        const bool holds = (absolute + u'/').startsWith(root, Qt::CaseInsensitive);
        if (holds && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    setCurrentIndex(best);
}
