#include "logrecovery.h"

#include "logfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

QString folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

QString notesPath()
{
    return folder() + QStringLiteral("/wiederherzustellen.lst");
}

QStringList readNotes()
{
    QFile notes(notesPath());
    if (!notes.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(notes.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

bool writeNotes(const QStringList &paths)
{
    if (paths.isEmpty())
        return QFile::remove(notesPath()) || !QFile::exists(notesPath());
    QSaveFile notes(notesPath());
    return notes.open(QIODevice::WriteOnly) && notes.write((paths.join(u'\n') + u'\n').toUtf8()) &&
           notes.commit();
}

} // namespace

namespace logrecovery {

QString save(QStringView text)
{
    if (!QDir().mkpath(folder()))
        return {};
    const QString stem =
        folder() + QStringLiteral("/Log vom ") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    QString path = stem + QStringLiteral(".txt");
    for (int number = 2; QFile::exists(path); ++number)
        path = stem + QStringLiteral(" (%1).txt").arg(number);
    QString failure;
    if (!logfile::append(path, logfile::fileBytes(text), &failure))
        return {};
    if (!writeNotes(readNotes() << path)) {
        QFile::remove(path);
        return {};
    }
    return path;
}

void withdraw(const QString &path)
{
    QStringList notes = readNotes();
    notes.removeAll(path);
    writeNotes(notes);
    QFile::remove(path);
}

QStringList takeNoted()
{
    QStringList paths;
    for (const QString &path : readNotes()) {
        if (QFile::exists(path))
            paths << path;
    }
    writeNotes({});
    return paths;
}

QString message(const QStringList &paths)
{
    QStringList shown;
    for (const QString &path : paths)
        shown << QDir::toNativeSeparators(path);
    return QStringLiteral("Warmlog wurde beendet, als das Log noch nicht gespeicherten Text "
                          "enthielt. Der Text wurde aufbewahrt in:\n\n") +
           shown.join(u'\n');
}

} // namespace logrecovery
