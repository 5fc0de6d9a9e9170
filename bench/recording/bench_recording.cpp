// A week of a measurement series at one record a second, written to a temporary folder: the
// processor time a record costs the tick (the whole append: the line, the write, the check that
// the file is still there, the sync every minute), per simulated day and at the slowest of each
// day's records, and the resident memory before, during and after; then the memory that records
// waiting for a missing folder hold.

#include "procstatus.h"
#include "recording/recordseries.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimeZone>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

qint64 processorNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "bench_recording: no temporary folder\n");
        return 1;
    }
    constexpr int Day = 86400;
    constexpr int Days = 7;
    // A fixed offset, so that the week has no change of summer time in it.
    const QDateTime start(QDate(2026, 12, 7), QTime(0, 0), QTimeZone(3600));
    std::printf("A week of records at one a second into %s\n", qPrintable(folder.path()));
    std::printf("  resident before: %ld kB\n", statusKilobytes("VmRSS"));
    RecordSeries series(folder.path());
    qint64 total = 0;
    for (int day = 0; day < Days; ++day) {
        qint64 dayTotal = 0;
        qint64 slowest = 0;
        for (int second = 0; second < Day; ++second) {
            const QDateTime time = start.addSecs(qint64(day) * Day + second);
            const double temperature = 18.0 + (second % 80) / 10.0;
            const qint64 before = processorNanoseconds();
            series.append(time, temperature, 4.2, false);
            const qint64 spent = processorNanoseconds() - before;
            dayTotal += spent;
            slowest = std::max(slowest, spent);
        }
        total += dayTotal;
        std::printf("  day %d: %6.2f µs processor time a record on average, slowest %7.1f µs; "
                    "resident %ld kB\n",
                    day + 1, dayTotal / 1000.0 / Day, slowest / 1000.0, statusKilobytes("VmRSS"));
    }
    std::printf("  week: %.2f µs processor time a record on average (goal: at most 50 µs)\n",
                total / 1000.0 / (qint64(Days) * Day));
    std::printf("  resident after: %ld kB, peak %ld kB\n", statusKilobytes("VmRSS"),
                statusKilobytes("VmHWM"));
    qint64 bytes = 0;
    for (const QFileInfo &file : QDir(folder.path()).entryInfoList(QDir::Files))
        bytes += file.size();
    std::printf("  %d day files, %lld bytes, records waiting: %lld\n",
                int(QDir(folder.path()).entryList(QDir::Files).size()), bytes,
                qint64(series.waiting()));
    // A folder that never comes: the records waiting stay at a day's worth.
    RecordSeries missing(folder.filePath(QStringLiteral("missing")));
    for (int second = 0; second < Day + Day / 2; ++second)
        missing.append(start.addSecs(second), 21.5, 4.2, false);
    std::printf("A missing folder for a day and a half: %lld records waiting, resident %ld kB\n",
                qint64(missing.waiting()), statusKilobytes("VmRSS"));
    return 0;
}
