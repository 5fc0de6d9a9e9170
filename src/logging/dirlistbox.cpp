#include "dirlistbox.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>
#include <QTimer>

namespace {

constexpr int PathRole = Qt::UserRole;

QString indented(int level, const QString &text)
{
    return QString(2 * level, u' ') + text;
}

} // namespace

DirListBox::DirListBox(QWidget *parent) : QListWidget(parent)
{
    // A click only highlights, whatever the style says about activating on a single click.
    connect(this, &QListWidget::itemDoubleClicked, this, &DirListBox::goTo);
}

void DirListBox::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        goTo(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void DirListBox::goTo(QListWidgetItem *item)
{
    // The list is rebuilt when an entry is opened; that waits until the event is handled.
    const QString target = item->data(PathRole).toString();
    QTimer::singleShot(0, this, [this, target] { setPath(target); });
}

QString DirListBox::path() const
{
    return m_path;
}

void DirListBox::setPath(const QString &path)
{
    m_path = QDir::cleanPath(QDir(path).absolutePath());
    clear();

    QStringList chain;
    for (QString step = m_path;;) {
        chain.prepend(step);
        const QString parent = QFileInfo(step).path();
        if (QDir(step).isRoot() || parent == step)
            break;
        step = parent;
    }

    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QListWidgetItem *current = nullptr;
    for (int level = 0; level < chain.size(); ++level) {
        const QString &step = chain.at(level);
        const QString name =
            level == 0 ? QDir::toNativeSeparators(step) : QFileInfo(step).fileName();
        current = new QListWidgetItem(open, indented(level, name), this);
        current->setData(PathRole, step);
    }

    const QDir directory(m_path);
    const QStringList children = directory.entryList(
        QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    for (const QString &child : children) {
        // Dirs lets through links to devices and other non-files too.
        if (!QFileInfo(directory.filePath(child)).isDir())
            continue;
        auto *item = new QListWidgetItem(closed, indented(int(chain.size()), child), this);
        item->setData(PathRole, directory.filePath(child));
    }

    setCurrentItem(current);
    scrollToItem(current);
}
