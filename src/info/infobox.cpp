#include "infobox.h"

#include "platform/messageboxes.h"
#include "ui/branding.h"
#include "warmlog_version.h"

#include <QString>

QString infoBoxText(int major, int minor, int revision)
{
    const QString separator = QStringLiteral(". ");
    const QString lineBreak = QStringLiteral("\t\r\n\t\r\n");
    return QStringLiteral("Version: ") + QString::number(major) + separator +
           QString::number(minor) + separator + QString::number(revision) + separator + lineBreak +
           QStringLiteral("Von ") + QString::fromUtf8(author::Name) + lineBreak +
           QStringLiteral("E-Mail: ") + QString::fromUtf8(author::EMail);
}

void showInfoBox(MessageBoxes &messageBoxes)
{
    messageBoxes.inform(
        infoBoxText(WARMLOG_VERSION_MAJOR, WARMLOG_VERSION_MINOR, WARMLOG_VERSION_PATCH),
        MessageBoxes::Icon::Information, programTitle());
}
