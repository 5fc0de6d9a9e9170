#pragma once

#include <QStringView>

class QByteArray;
class QString;

// The log file: where it lies and what bytes go into it. Free of widgets so that the format can
// be checked byte for byte.
namespace logfile {

// The directory, one separator, the name exactly as typed, the extension. A directory that
// already ends in a separator (a root directory) gets none added.
QString path(const QString &directory, const QString &name, const QString &extension);

// The text with every line end as CR LF, a lone CR or LF and the editor's line and paragraph
// separators included. A text that does not end in a line end gets one, so that two saves into
// one file never run two lines together; the empty text stays empty.
QString crlfText(QStringView text);

// Windows-1252, the code page the log files have always been read in: "°" is 0xB0. A character
// the code page cannot hold becomes one "?".
QByteArray windows1252(QStringView text);

// The bytes a save appends: the text with CR LF line ends, in Windows-1252, or on Windows in the
// system's ANSI code page, which the files' readers there use.
QByteArray fileBytes(QStringView text);

// Appends the bytes to the file, creating it when missing, and closes it. A name that leads to
// anything but a regular file (a FIFO, a device, a socket, a directory) is refused without waiting.
// On failure a file this call created is removed and an existing one is left at its former length
// where possible, and failure receives a German text that names the path and the reason.
bool append(const QString &path, const QByteArray &bytes, QString *failure);

} // namespace logfile
