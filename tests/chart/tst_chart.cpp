#include "chart/course.h"
#include "chart/historychart.h"
#include "chart/historywindow.h"
#include "chart/timeaxis.h"
#include "recording/dayfiles.h"
#include "recording/recordseries.h"
#include "support/named.h"
#include "support/windowrig.h"

#include <QRandomGenerator>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;

// 2026-12-07 00:00:00 UTC
constexpr qint64 Monday = 1796601600;

class TestChart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Random readings with gaps and missing values over spans a column holds many or few of.
    void decimationKeepsExtremes_data()
    {
        QTest::addColumn<int>("readings");
        QTest::addColumn<int>("columns");
        QTest::newRow("a week in 900") << 604800 << 900;
        QTest::newRow("an hour in 900") << 3600 << 900;
        QTest::newRow("a minute in 900") << 60 << 900;
        QTest::newRow("one column") << 5000 << 1;
    }
    void decimationKeepsExtremes()
    {
        QFETCH(int, readings);
        QFETCH(int, columns);
        QRandomGenerator random(readings);
        ReadingHistory history;
        qint64 time = Monday;
        for (int i = 0; i < readings; ++i) {
            time += random.bounded(1000) == 0 ? 60 : 1;
            const int roll = random.bounded(200);
            history.appendTenths(time, roll == 0 ? ReadingHistory::NoValue
                                                 : qint16(random.bounded(-400, 600)));
        }
        const qint64 from = history.time(0) + 7;
        const qint64 to = history.time(history.size() - 1);
        const course::Course course = course::decimate(history, from, to, columns);
        QCOMPARE(course.columns.size(), columns);
        QList<course::Column> expected(columns);
        for (qsizetype i = history.lowerBound(from); i < history.size(); ++i) {
            const qint16 value = history.tenths(i);
            if (value == ReadingHistory::NoValue)
                continue;
            course::Column &column =
                expected[course::columnOf(history.time(i), from, to - from, columns)];
            column.minimum = column.isEmpty() ? value : qMin(column.minimum, value);
            column.maximum = column.isEmpty() ? value : qMax(column.maximum, value);
            column.first = column.isEmpty() ? value : column.first;
            if (history.tenths(course.minimumIndex) > value ||
                history.tenths(course.maximumIndex) < value)
                QFAIL(qPrintable(u"reading %1 lies beyond the span's extremes"_s.arg(i)));
        }
        for (int c = 0; c < columns; ++c) {
            QCOMPARE(course.columns[c].minimum, expected[c].minimum);
            QCOMPARE(course.columns[c].maximum, expected[c].maximum);
            QCOMPARE(course.columns[c].first, expected[c].first);
        }
    }

    // A gap in the middle third of the chart: no pixel of the line there, but on both sides.
    void gapsStayGaps_data()
    {
        QTest::addColumn<bool>("notRunning");
        QTest::addColumn<bool>("dark");
        QTest::newRow("the program did not run") << true << false;
        QTest::newRow("readings without a value, dark") << false << true;
    }
    void gapsStayGaps()
    {
        QFETCH(bool, notRunning);
        QFETCH(bool, dark);
        ReadingHistory history;
        for (qint64 second = 0; second < 3000; ++second) {
            const bool gap = second >= 1000 && second < 2000;
            if (!(gap && notRunning))
                history.appendTenths(Monday + second, gap             ? ReadingHistory::NoValue
                                                      : second == 500 ? qint16(300)
                                                                      : qint16(200 + second % 50));
        }
        HistoryChart chart(history);
        chart.setSpan(0);
        chart.resize(700, 300);
        QPalette palette = chart.palette();
        palette.setColor(QPalette::Base, dark ? QColor(0x20, 0x20, 0x20) : Qt::white);
        palette.setColor(QPalette::Text, dark ? QColor(0xe0, 0xe0, 0xe0) : Qt::black);
        chart.setPalette(palette);
        const QImage image = chart.image();
        const QRect plot = chart.plotArea();
        // The topmost pixel of the line in a column, -1 for none.
        const auto lineTop = [&](int x) {
            for (int y = plot.top() + 1; y < plot.bottom(); ++y) {
                const QColor pixel = image.pixelColor(x, y);
                // The line is blue in either palette; the grid is grey, the extremes' marks red
                // and cyan.
                if (pixel.blue() > 150 && pixel.blue() - pixel.red() > 100 &&
                    pixel.blue() - pixel.green() > 50)
                    return y;
            }
            return -1;
        };
        const int third = plot.width() / 3;
        QVERIFY(lineTop(plot.right() - third / 2) >= 0);
        // The spike, neither first nor last reading of its column, is drawn to its height.
        int top = plot.bottom();
        for (int x = plot.left(); x < plot.left() + third; ++x)
            top = lineTop(x) < 0 ? top : qMin(top, lineTop(x));
        QVERIFY(top < plot.top() + plot.height() / 4);
        for (int x = plot.left() + third + 2; x < plot.left() + 2 * third - 2; ++x) {
            if (lineTop(x) >= 0)
                QFAIL(qPrintable(u"the line crosses the gap at x = %1"_s.arg(x)));
        }
    }

    // Every label on a local time the clock showed, in the order of the instants, spaced; the
    // first label of each day carries its date once the span crosses midnight.
    void labelsInOrder_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<int>("hours");
        QTest::addColumn<QStringList>("expected"); // texts that must appear, in this order
        const QTimeZone berlin("Europe/Berlin");
        QTest::newRow("midnight") << QDateTime(QDate(2026, 12, 7), QTime(21, 0), berlin) << 6
                                  << QStringList{"22:00", "00:00\nDi 08.12.", "02:00"};
        QTest::newRow("to summer time") << QDateTime(QDate(2026, 3, 29), QTime(0, 30), berlin) << 4
                                        << QStringList{"01:00", "03:00", "04:00"};
        QTest::newRow("from summer time") << QDateTime(QDate(2026, 10, 25), QTime(0, 30), berlin)
                                          << 5 << QStringList{"01:00", "02:00", "02:00", "03:00"};
        QTest::newRow("a week") << QDateTime(QDate(2026, 3, 25), QTime(12, 0), berlin) << 7 * 24
                                << QStringList{"Do 26.03.", "Fr 27.03.", "So 29.03.", "Mo 30.03."};
        QTest::newRow("a clock that jumped years")
            << QDateTime(QDate(2026, 1, 1), QTime(0, 0), berlin) << 20 * 365 * 24 << QStringList();
    }
    void labelsInOrder()
    {
        QFETCH(QDateTime, start);
        QFETCH(int, hours);
        QFETCH(QStringList, expected);
        const QTimeZone zone("Europe/Berlin");
        if (!zone.isValid())
            QSKIP("no time zone data");
        const qint64 from = start.toSecsSinceEpoch();
        const qint64 to = from + hours * 3600;
        constexpr int Width = 800, Spacing = 60;
        const QList<timeaxis::Tick> ticks = timeaxis::timeTicks(from, to, Width, Spacing, zone);
        QVERIFY(ticks.size() >= 4);
        QStringList texts;
        for (qsizetype i = 0; i < ticks.size(); ++i) {
            const qint64 time = ticks[i].secsSinceEpoch;
            QVERIFY(time >= from && time <= to);
            if (i > 0)
                QVERIFY((time - ticks[i - 1].secsSinceEpoch) * Width >= Spacing * (to - from));
            const QDateTime local = QDateTime::fromSecsSinceEpoch(time, zone);
            if (!ticks[i].time.isEmpty())
                QCOMPARE(ticks[i].time, local.time().toString(u"HH:mm"));
            else // days, and weeks from Monday on
                QVERIFY(local.time() == QTime(0, 0) &&
                        (hours < 60 * 24 || local.date().dayOfWeek() == 1));
            texts << QStringList{ticks[i].time, ticks[i].date}.join(u'\n').trimmed();
        }
        qsizetype at = 0;
        for (const QString &text : expected) {
            at = texts.indexOf(text, at);
            QVERIFY2(at++ >= 0,
                     qPrintable(text + u" missing or out of order in "_s + texts.join(u" | ")));
        }
    }

    // What the program wrote is read back, with damaged and foreign lines passed over.
    void dayFilesReadBack()
    {
        QTemporaryDir folder;
        const QDate today(2026, 12, 7);
        const QTimeZone zone(3600);
        RecordSeries series(folder.path());
        series.append(QDateTime(today.addDays(-8), QTime(12, 0), zone), 9.9, 4.2, false);
        series.append(QDateTime(today.addDays(-1), QTime(23, 59, 59), zone), -0.3, 4.2, false);
        series.append(QDateTime(today, QTime(0, 0, 1), zone), std::nullopt, std::nullopt, true);
        series.append(QDateTime(today, QTime(0, 0, 2), zone), 21.5, 4.2, false);
        QFile file(folder.filePath(RecordSeries::fileName(today)));
        QVERIFY(file.open(QIODevice::Append));
        file.write("2026-12-07 00:00:03;+01:00;21,\r\n"      // cut short by a killed run
                   "2026-12-07 00:00:04;+01:00;22,0;4,2\r\n" // no charging field
                   "2026-13-07 00:00:05;+01:00;22,0;4,2;ja\r\n"
                   "Zeit;UTC-Versatz;Temperatur (°C);Batterie (V);Laden\r\n"
                   "2026-10-07 00:00:05;+01:00;22,0;4,2;ja\r\n" // a bit flipped: not this day
                   "2026-12-07 00:00:05;+01:00;3276,8;4,2;ja\r\n"
                   "2026-12-07 05:00:00;+01:00;23,0;4,2;ja\r\n" // out of order
                   "\x01\xff garbage\n"
                   "2026-12-07 00:00:06;-02:30;22,4;4,2;nein\n");
        file.close();
#ifdef Q_OS_UNIX
        // A pipe of a day file's name, which nobody writes: reading it would never end.
        QCOMPARE(
            mkfifo(qPrintable(folder.filePath(RecordSeries::fileName(today.addDays(-3)))), 0600),
            0);
#endif
        const ReadingHistory history = dayfiles::read(folder.path(), today, 7);
        QCOMPARE(history.size(), 5);
        const QDateTime midnight(today, QTime(0, 0), zone);
        const qint64 times[] = {-1, 1, 2, 6 + 12600, 5 * 3600};
        const qint16 tenths[] = {-3, ReadingHistory::NoValue, 215, 224, 230};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(history.time(i), midnight.toSecsSinceEpoch() + times[i]);
            QCOMPARE(history.tenths(i), tenths[i]);
        }
    }

    void historyKeepsOrderAndBounds()
    {
        ReadingHistory history;
        for (const qint64 second : {10, 11, 12, 13, 11, 12}) // a clock set back by 3 s
            history.appendTenths(Monday + second, qint16(second));
        ReadingHistory disk;
        for (const qint64 second : {5, 9, 10, 11})
            disk.appendTenths(Monday + second, 0);
        history.prepend(disk);
        QList<qint64> times;
        for (qsizetype i = 0; i < history.size(); ++i)
            times << history.time(i) - Monday;
        QCOMPARE(times, (QList<qint64>{5, 9, 10, 11, 12}));

        // Beyond the most it holds, the oldest go and the memory stays put.
        const qint64 newest = Monday + ReadingHistory::MostHeld * 5 / 4;
        for (qint64 second = Monday; second <= newest; ++second)
            history.appendTenths(second + 13, 0);
        QVERIFY(history.size() <= ReadingHistory::MostHeld);
        QCOMPARE(history.time(history.size() - 1), newest + 13);
        QVERIFY(history.bytes() <= ReadingHistory::MostHeld * 6);
    }

    void windowSpansAndImage()
    {
        ReadingHistory history;
        history.append(Monday, 20.0);
        WindowRig rig;
        auto *window = new HistoryWindow(history, rig.platform);
        window->show();
        named<QPushButton>(*window, "spanWeek")->click();
        QCOMPARE(window->chart()->span(), 7 * 86400);
        named<QPushButton>(*window, "spanAll")->click();
        QCOMPARE(window->chart()->span(), 0);
        // The reading under the pointer, and none where the pointer is a minute before it.
        HistoryChart *chart = window->chart();
        const QRect plot = chart->plotArea();
        auto *pointer = named<QLabel>(*window, "pointerText");
        QTest::mouseMove(chart, QPoint(plot.right(), plot.center().y()));
        QCOMPARE(pointer->text(),
                 QDateTime::fromSecsSinceEpoch(Monday).toString(u"dd.MM.yyyy HH:mm:ss") +
                     u"  20,0 °C"_s);
        QTest::mouseMove(chart, QPoint(plot.left(), plot.center().y()));
        QVERIFY(pointer->text().endsWith(u"  kein Messwert"_s));
        QTemporaryDir folder;
        QVERIFY(window->saveImage(folder.filePath(u"verlauf.png"_s)));
        QCOMPARE(QImage(folder.filePath(u"verlauf.png"_s)).size(), window->chart()->size());
        QVERIFY(!window->saveImage(folder.filePath(u"missing/verlauf.png"_s)));
        QCOMPARE(rig.boxes.shown, 1);
        window->close();
    }
};

QTEST_MAIN(TestChart)
#include "tst_chart.moc"
