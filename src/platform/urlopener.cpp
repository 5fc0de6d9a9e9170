#include "urlopener.h"

#include <QDesktopServices>
#include <QUrl>

bool QtUrlOpener::open(const QString &address)
{
    return QDesktopServices::openUrl(QUrl(address));
}
