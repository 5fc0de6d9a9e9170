#pragma once

#include <QListWidget>

// A directory list in the manner of a classic file dialog: the drive's root and the directories
// down to the current one, which is marked, followed by the current one's subdirectories. A
// click only highlights an entry; a double click or Enter opens it as the current directory.
class DirListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit DirListBox(QWidget *parent = nullptr);

    // The directory shown open, with '/' separators; a root directory ends in one.
    QString path() const;
    // Makes the directory current. The path is kept as given even when the directory cannot be
    // read or disappears later; its entries then show only what can be read.
    void setPath(const QString &path);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void goTo(QListWidgetItem *item);

    QString m_path;
};
