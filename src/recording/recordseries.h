#pragma once

#include "recordfile.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <deque>
#include <optional>

// A measurement series on disk: one record a tick, appended to the day file of the record's local
// date in the chosen folder, laid out for German spreadsheets. While the folder fails, the records
// wait in memory, a day's worth at most, and go out with the first tick it takes them again.
class RecordSeries
{
public:
    // A day of records at one a second.
    static constexpr qsizetype MostWaiting = 86400;
    // How long written records may stay in the system's cache before the disk gets them.
    static constexpr qint64 SyncSeconds = 60;

    explicit RecordSeries(const QString &folder);
    // Syncs what was written.
    ~RecordSeries() = default;

    QString folder() const { return m_folder; }
    // One tick's record; no temperature or voltage leaves its field empty.
    void append(const QDateTime &time, std::optional<double> temperature,
                std::optional<double> volts, bool charging);
    // Why the folder takes no records; None while it does.
    RecordFile::Failure failure() const { return m_failure; }
    qsizetype waiting() const { return qsizetype(m_waiting.size()); }

    // "warmlog-2026-12-07.csv"
    static QString fileName(QDate date);
    // The byte order mark and the header line, the start of every day file.
    static QByteArray fileStart();
    // "2026-12-07 17:42:36;+01:00;21,5;4,2;nein" with CR LF.
    static QByteArray recordLine(const QDateTime &time, std::optional<double> temperature,
                                 std::optional<double> volts, bool charging);

private:
    struct Record
    {
        QDate date;
        QByteArray line;
    };
    void writeWaiting(const QDateTime &now);

    QString m_folder;
    std::deque<Record> m_waiting;
    RecordFile m_file;
    QDate m_fileDate;
    QDateTime m_synced;
    RecordFile::Failure m_failure = RecordFile::Failure::None;
};
