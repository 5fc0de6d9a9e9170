// The course window at a week of readings at one a second (604,800): the memory the readings
// take, the time to read them back from seven day files, and the time to draw the chart, the
// decimation alone and the whole picture, for the spans the window offers and two sizes.
// Run offscreen: QT_QPA_PLATFORM=offscreen.

#include "chart/course.h"
#include "chart/historychart.h"
#include "procstatus.h"
#include "recording/dayfiles.h"
#include "recording/readinghistory.h"
#include "recording/recordseries.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimeZone>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int Days = 7;
constexpr int Day = 86400;
constexpr int Rounds = 20;

// A day's swing with some noise, in whole tenths, and two hours the program did not run.
std::optional<double> temperatureAt(int second)
{
    if (second % (2 * Day) >= 3 * 3600 && second % (2 * Day) < 4 * 3600)
        return std::nullopt;
    const double swing = 40 * std::sin(second * 2 * M_PI / Day);
    return std::round(180 + swing + (second * 7919 % 13) - 6) / 10;
}

template <typename Work> std::pair<double, double> medianAndSlowest(Work work)
{
    work(); // the first one warms the caches
    std::vector<double> times;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QDateTime start(QDate(2026, 11, 30), QTime(0, 0), QTimeZone(3600));

    const long before = statusKilobytes("VmRSS");
    ReadingHistory history;
    for (int second = 0; second < Days * Day; ++second)
        history.append(start.toSecsSinceEpoch() + second, temperatureAt(second));
    const long after = statusKilobytes("VmRSS");
    std::printf("A week at one reading a second: %lld readings held\n", qint64(history.size()));
    std::printf("  memory: %.1f bytes a reading in the lists (with their spare room), %.1f bytes "
                "a reading of resident memory; goal below 16\n",
                double(history.bytes()) / history.size(),
                (after - before) * 1024.0 / history.size());

    QTemporaryDir folder;
    {
        RecordSeries series(folder.path());
        for (int second = 0; second < Days * Day; ++second)
            series.append(start.addSecs(second), temperatureAt(second), 4.2, false);
    }
    QElapsedTimer timer;
    timer.start();
    const ReadingHistory read = dayfiles::read(folder.path(), start.date().addDays(Days - 1), Days);
    std::printf("  reading seven day files back: %.0f ms for %lld readings\n",
                timer.nsecsElapsed() / 1e6, qint64(read.size()));

    const qint64 last = history.time(history.size() - 1);
    for (const QSize size : {QSize(900, 400), QSize(1900, 1000)}) {
        HistoryChart chart(history);
        chart.resize(size);
        std::printf("Drawing at %d x %d pixels, median and slowest of %d:\n", size.width(),
                    size.height(), Rounds);
        for (const auto &[name, span] : {std::pair{"1 Woche", 7 * Day}, std::pair{"1 Tag", Day},
                                         std::pair{"1 Stunde", 3600}}) {
            chart.setSpan(span);
            const auto [decimateMedian, decimateSlowest] = medianAndSlowest(
                [&] { course::decimate(history, last - span, last, chart.plotArea().width()); });
            // As a repaint does, into the window's existing backing store.
            QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
            const auto [drawMedian, drawSlowest] = medianAndSlowest([&] { chart.render(&canvas); });
            std::printf("  %-9s decimation %6.2f / %6.2f ms, whole picture %6.2f / %6.2f ms; "
                        "goal below 16 ms\n",
                        name, decimateMedian, decimateSlowest, drawMedian, drawSlowest);
        }
    }
    return 0;
}
