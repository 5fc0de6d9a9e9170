#include "dirlistbox.h"

#include <QDir>
#include <QFileInfo>
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
    // The list is rebuilt when an entry is opened; that waits until the click is handled.
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        const QString target = item->data(PathRole).toString();
        QTimer::singleShot(0, this, [this, target] { setPath(target); });
    });
}

QString DirListBox::path() const
{
    // A single click chooses a directory; opening it is needed only to go further down.
    if (const QListWidgetItem *item = currentItem())
        return item->data(PathRole).toString();
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
        auto *item = new QListWidgetItem(closed, indented(int(chain.size()), child), this);
        item->setData(PathRole, directory.filePath(child));
    }

    setCurrentItem(current);
    scrollToItem(current);
}
