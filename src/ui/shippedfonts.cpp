#include "shippedfonts.h"

#include <QDir>
#include <QFontDatabase>
#include <QString>
#include <QStringList>

void addShippedFonts(const QString &folder)
{
    const QDir fonts(folder);
    const QStringList files = fonts.entryList({QStringLiteral("*.ttf")}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        return;
    const QStringList known = QFontDatabase::families();
    for (const QString &file : files) {
        // The family is only known once the file is added; a system copy of it wins, so a file
        // whose family the system has is taken back out.
        const int id = QFontDatabase::addApplicationFont(fonts.filePath(file));
        if (id < 0)
            continue;
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (!families.isEmpty() && known.contains(families.first()))
            QFontDatabase::removeApplicationFont(id);
    }
}
