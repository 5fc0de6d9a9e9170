// Measures Qt Charts on a week of readings at one a second (604,800 points, two one-hour gaps):
// time to fill the series, first render and redraws of a 900x400 view for the week and for the
// last hour, and resident memory per reading. Run offscreen: QT_QPA_PLATFORM=offscreen.
#include "procstatus.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QRandomGenerator>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <vector>

namespace {

constexpr qint64 Readings = 7 * 24 * 3600;
constexpr qint64 HourMs = 3600 * 1000;

double msSince(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e6;
}

// Renders the view as a window would be painted; pending layout runs first, so it is counted.
double renderOnce(QChartView &view, QImage &image)
{
    QElapsedTimer t;
    t.start();
    QCoreApplication::processEvents();
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    view.render(&p);
    p.end();
    return msSince(t);
}

// Nudges the x range by a second each time so every redraw has to map all points anew.
void redraws(const char *label, QChartView &view, QDateTimeAxis *axisX, qint64 fromMs, qint64 toMs,
             QImage &image)
{
    std::vector<double> times;
    for (int i = 0; i < 10; ++i) {
        const qint64 shift = (i % 2) ? 1000 : 0;
        QElapsedTimer t;
        t.start();
        axisX->setRange(QDateTime::fromMSecsSinceEpoch(fromMs + shift),
                        QDateTime::fromMSecsSinceEpoch(toMs));
        const double layout = msSince(t);
        times.push_back(layout + renderOnce(view, image));
    }
    std::sort(times.begin(), times.end());
    std::printf("Qt Charts: %s redraw median %.1f ms, slowest %.1f ms\n", label,
                (times[4] + times[5]) / 2, times.back());
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);

    // The program was not running for an hour on day 2 and on day 5; Qt Charts has no gap
    // notion, so each unbroken stretch gets its own series.
    const qint64 startMs = QDateTime(QDate(2024, 3, 4), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
    const qint64 gapStarts[] = {startMs + (24 + 10) * HourMs, startMs + (4 * 24 + 15) * HourMs};
    const qint64 endMs = startMs + (Readings - 1) * 1000 + std::size(gapStarts) * HourMs;

    auto *chart = new QChart;
    chart->legend()->hide();
    auto *axisX = new QDateTimeAxis;
    axisX->setFormat(QStringLiteral("MMM d hh:mm"));
    axisX->setRange(QDateTime::fromMSecsSinceEpoch(startMs), QDateTime::fromMSecsSinceEpoch(endMs));
    auto *axisY = new QValueAxis;
    axisY->setRange(12, 24);
    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);
    // Series are attached before the view is first laid out: an axis laid out with no series
    // attached stays without labels and grid in Qt 6.4, even once series are attached later.
    QList<QLineSeries *> series;
    for (size_t i = 0; i <= std::size(gapStarts); ++i) {
        series.append(new QLineSeries);
        chart->addSeries(series.last());
        series.last()->attachAxis(axisX);
        series.last()->attachAxis(axisY);
    }
    QChartView view(chart);
    view.setRenderHint(QPainter::Antialiasing);
    view.resize(900, 400);
    view.show();
    QCoreApplication::processEvents();

    const long rssBefore = statusKilobytes("VmRSS");

    QList<QList<QPointF>> stretches(1);
    QRandomGenerator rng(42);
    qint64 ms = startMs;
    for (qint64 i = 0; i < Readings; ++i, ms += 1000) {
        for (qint64 gap : gapStarts) {
            if (ms == gap) {
                ms += HourMs;
                stretches.emplaceBack();
            }
        }
        const double day = 2 * M_PI * double(ms - startMs) / (24 * HourMs);
        const double celsius = 18 + 4 * std::sin(day) + (rng.generateDouble() - 0.5) * 0.3;
        stretches.last().append(QPointF(double(ms), std::round(celsius * 10) / 10));
    }

    QElapsedTimer t;
    t.start();
    for (qsizetype i = 0; i < stretches.size(); ++i)
        series[i]->replace(stretches[i]);
    const double fillMs = msSince(t);
    stretches.clear(); // the series now hold the only copy
    const long rssFilled = statusKilobytes("VmRSS");

    QImage image(900, 400, QImage::Format_ARGB32_Premultiplied);
    const double firstMs = renderOnce(view, image);
    const long rssRendered = statusKilobytes("VmRSS");
    if (argc > 1)
        image.save(QString::fromLocal8Bit(argv[1]));

    std::printf("Qt Charts: %lld readings in %lld series\n", Readings, qlonglong(series.size()));
    std::printf("Qt Charts: fill %.1f ms\n", fillMs);
    std::printf("Qt Charts: first render %.1f ms\n", firstMs);
    redraws("week", view, axisX, startMs, endMs, image);
    redraws("hour", view, axisX, endMs - HourMs, endMs, image);
    if (argc > 2)
        image.save(QString::fromLocal8Bit(argv[2]));
    std::printf("Qt Charts: RSS before %ld KiB, after fill %ld KiB, after first render %ld KiB\n",
                rssBefore, rssFilled, rssRendered);
    std::printf("Qt Charts: bytes per reading %.1f after fill, %.1f after first render\n",
                (rssFilled - rssBefore) * 1024.0 / Readings,
                (rssRendered - rssBefore) * 1024.0 / Readings);
    return 0;
}
