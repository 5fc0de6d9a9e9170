#pragma once

#include <QStringView>
#include <QtGlobal>

class QByteArray;
class QString;

// The few calls behind a save that differ between the systems, in logfile_posix.cpp and
// logfile_win.cpp. Each call to the C library sets errno on failure.
namespace logfile::system {

// What a name leads to, as far as saving is concerned.
enum class Kind { Regular, Directory, Pipe, Device, Socket, Other };

// What the file system says about a name or an open file. Device and inode stay 0 where the
// system has no such numbers.
struct Status
{
    Kind kind = Kind::Other;
    qint64 length = 0;
    quint64 device = 0;
    quint64 inode = 0;
};

bool statusOf(const QString &path, Status *status);
bool statusOf(int file, Status *status);
// Opens for appending, without handing the file on to programs started later.
int openForAppending(const QString &path, bool exclusive);
qint64 writeSome(int file, const char *data, qint64 size);
void cutBack(int file, qint64 length);
int closeFile(int file);
// Closes the file and removes the name as long as it still leads to the file a save created.
void removeCreated(int file, const QString &path, const Status &created);

// Whether the name stands for a device in every folder (on Windows CON, COM1 and the like).
bool namesDevice(const QString &path);
// Whether the name leads into a part of a file rather than to a file (a Windows stream).
bool namesStream(const QString &path);

// The text in the code page the log files' readers on this system use.
QByteArray encoded(QStringView text);

} // namespace logfile::system
