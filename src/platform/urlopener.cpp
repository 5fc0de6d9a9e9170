#include "urlopener.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
// The shell's answers: any value above 32 means success, 31 means no program for the address.
constexpr int ShellOpened = 42;
constexpr int ShellNoAssociation = 31;
} // namespace

int QtUrlOpener::open(QWidget *owner, const QString &address)
{
    // The desktop's handler does not take an owner window.
    Q_UNUSED(owner)
    return QDesktopServices::openUrl(QUrl(address)) ? ShellOpened : ShellNoAssociation;
}
