#pragma once

#include <QComboBox>

// A drop-down list of the machine's drives: the mounted file systems, the root first. Each entry
// stands for the root directory of its drive.
class DriveListBox : public QComboBox
{
public:
    explicit DriveListBox(QWidget *parent = nullptr);

    // The root directory of the chosen drive.
    QString drive() const;
    // Chooses the drive that holds the path.
    void setDriveOf(const QString &path);
};
