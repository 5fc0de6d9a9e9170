#pragma once

#include <QStringList>
#include <QStringView>

class QString;

// The log window's text, kept when the system ends the program before it was saved. The files
// lie in the user's state folder (QStandardPaths::AppLocalDataLocation) and hold the bytes a save
// would have written; the next start names them once.
namespace logrecovery {

// Writes the text to a new file and notes it for the next start. Returns its path, or empty when
// it could not be written.
QString save(QStringView text);

// Takes back a file just saved, when the program goes on after all.
void withdraw(const QString &path);

// The files noted since the last call, which forgets them.
QStringList takeNoted();

// What the next start says about them, in German.
QString message(const QStringList &paths);

} // namespace logrecovery
