#pragma once

#include <QtGlobal>

class QDate;
class QString;
class ReadingHistory;

// Reading a measurement series back: the temperatures of the day files in a folder.
namespace dayfiles {

// The files of the given number of days up to the last date, oldest first. A missing file, a
// line that is damaged or not a record, is passed over.
ReadingHistory read(const QString &folder, QDate last, int days);

// The temperature and its time in one record line; false for a damaged line.
bool parseLine(const char *begin, const char *end, qint64 &secsSinceEpoch, qint16 &tenths);

} // namespace dayfiles
