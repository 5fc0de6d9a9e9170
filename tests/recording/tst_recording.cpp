#include "chart/historychart.h"
#include "device/portmap.h"
#include "recording/recordseries.h"
#include "support/windowrig.h"

#include <unistd.h>

using namespace Qt::StringLiterals;

const QString Header = u"Zeit;UTC-Versatz;Temperatur (°C);Batterie (V);Laden"_s;
const QDate Day(2026, 12, 7);

// A time at +01:00 on Day, or on a day after it.
QDateTime at(const char *time, int days = 0)
{
    return QDateTime(Day.addDays(days), QTime::fromString(QLatin1String(time)), QTimeZone(3600));
}

// The lines of a day file, with the byte order mark as "BOM" when it starts the file.
QStringList lines(const QString &folder, QDate date = Day)
{
    QFile file(QDir(folder).filePath(RecordSeries::fileName(date)));
    if (!file.open(QIODevice::ReadOnly))
        return {u"no file"_s};
    QByteArray bytes = file.readAll();
    QStringList result;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        result << u"BOM"_s;
    return result +
           QString::fromUtf8(bytes.mid(result.size() * 3)).split(u"\r\n"_s, Qt::SkipEmptyParts);
}

class TestRecording : public QObject
{
    Q_OBJECT

    enum Fault { Missing, RemovedWhileOpen, NoPermission, Full };

private Q_SLOTS:
    // What is in the day file before, and the lines after one record.
    void dayFile_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("after");
        const QString record = u"2026-12-07 10:00:01;+01:00;-0,3;;ja"_s; // battery unknown
        const QString earlier = u"2026-12-07 10:00:00;+01:00;21,4;4,2;nein"_s;
        QTest::newRow("none") << QByteArray() << QStringList{"BOM", Header, record};
        QTest::newRow("restart") << RecordSeries::fileStart() + earlier.toUtf8() + "\r\n"
                                 << QStringList{"BOM", Header, earlier, record};
        QTest::newRow("killed mid-line")
            << RecordSeries::fileStart() + "2026-12-07 09:59:59;+01"
            << QStringList{"BOM", Header, "2026-12-07 09:59:59;+01", record};
    }
    void dayFile()
    {
        QFETCH(QByteArray, before);
        QTemporaryDir folder;
        QFile file(folder.filePath(RecordSeries::fileName(Day)));
        if (!before.isNull())
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) >= 0);
        file.close();
        RecordSeries(folder.path()).append(at("10:00:01"), -0.3, {}, true);
        QTEST(lines(folder.path()), "after");
    }

    // Records that wait for a missing folder over midnight go to their own days' files.
    void midnight()
    {
        QTemporaryDir temporary;
        const QString folder = temporary.filePath(u"series"_s);
        RecordSeries series(folder);
        const QList<QDateTime> times{at("23:59:58"), at("23:59:59"), at("00:00:00", 1),
                                     at("00:00:01", 1)};
        for (const QDateTime &time : times) {
            if (time == times.last())
                QVERIFY(QDir().mkdir(folder));
            series.append(time, 20.0, 4.1, false);
        }
        const QString line = u"%1;+01:00;20,0;4,1;nein"_s;
        QCOMPARE(lines(folder), QStringList({"BOM", Header, line.arg("2026-12-07 23:59:58"),
                                             line.arg("2026-12-07 23:59:59")}));
        QCOMPARE(lines(folder, Day.addDays(1)),
                 QStringList({"BOM", Header, line.arg("2026-12-08 00:00:00"),
                              line.arg("2026-12-08 00:00:01")}));
    }

    // A tick records what the window shows; charging changes only on a trusted voltage.
    void tick_data()
    {
        QTest::addColumn<QList<qint16>>("answers"); // battery, then temperature
        QTest::addColumn<QString>("fields");
        QTest::newRow("charging") << QList<qint16>{36, 35, 128, 128, 129} << u"25,1;4,0;ja"_s;
        QTest::newRow("battery apart") << QList<qint16>{37, 39, 37, 128, 128, 129} << u"25,1;;ja"_s;
        QTest::newRow("temperatures apart")
            << QList<qint16>{37, 37, 37, 37, 128, 128} << u";4,1;nein"_s;
        QTest::newRow("silent") << QList<qint16>{-1, -1, -1, -1, -1} << u";0,3;ja"_s;
    }
    void tick()
    {
        QFETCH(QList<qint16>, answers);
        QTemporaryDir folder;
        WindowRig rig;
        rig.form->startSeries(folder.path());
        rig.serial.answers = QList<qint16>{36, 35, 128, 128, 129} + answers;
        rig.form->measure();
        rig.form->measure();
        const QDateTime time = rig.clock.currentDateTime();
        const QString line = lines(folder.path(), time.date()).value(3);
        QCOMPARE(line.section(u';', 0, 0), time.toString(u"yyyy-MM-dd 16:00:00"));
        QTEST(line.section(u';', 2), "fields");
        // After a restart the course window finds the records.
        WindowRig restarted;
        restarted.form->startSeries(folder.path());
        const HistoryWindow *history = restarted.openHistory();
        QVERIFY(history);
        QCOMPARE(history->chart()->timeRange().second, time.toSecsSinceEpoch());
    }

    // The check mark shows a running series, the help panel a missing folder while it lasts.
    void seriesItem()
    {
        QTemporaryDir temporary;
        const QString folder = temporary.filePath(u"series"_s), author = u"Warmlog ist von "_s;
        WindowRig rig;
        auto *item = named<QAction>(*rig.form, "m_datei_messreihe");
        QCOMPARE(named<QMenu>(*rig.form, "m_datei")->actions().indexOf(item), 1);
        rig.form->startSeries(folder);
        QVERIFY(item->isCheckable() && item->isChecked());
        rig.form->measure();
        QCOMPARE(rig.show("Hilfe"), QStringList{"Aufzeichnung: Ordner fehlt "});
        QVERIFY(QDir().mkdir(folder));
        rig.form->measure();
        QVERIFY(rig.show("Hilfe").constFirst().startsWith(author));
        QCOMPARE(lines(folder, QDate::currentDate()).size(), 2 + 2);
        QVERIFY(QDir(folder).removeRecursively());
        rig.form->measure();
        item->trigger();
        QVERIFY(!item->isCheckable() && rig.show("Hilfe").constFirst().startsWith(author));
    }

    // The folder fails for three records, mended before the fourth: each is in the file once.
    void failingFolder_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<RecordFile::Failure>("failure");
        QTest::newRow("missing") << Missing << RecordFile::Failure::Missing;
        QTest::newRow("removed while open") << RemovedWhileOpen << RecordFile::Failure::Missing;
        QTest::newRow("no permission") << NoPermission << RecordFile::Failure::NoPermission;
        QTest::newRow("full") << Full << RecordFile::Failure::Full;
    }
    void failingFolder()
    {
        QFETCH(Fault, fault);
        const bool root = ::geteuid() == 0;
        if (fault == Full && !root)
            QSKIP("A small file system to fill needs root (mount -t tmpfs)");
        QTemporaryDir temporary;
        const QString folder = temporary.filePath(u"series"_s);
        QFile filler(folder + u"/filler"_s);
        const auto run = [](QStringList command) {
            return QProcess::execute(command.takeFirst(), command) == 0;
        };
        const auto breakFolder = [&](bool broken) {
            const QFile::Permissions writable =
                broken ? QFile::ReadOwner | QFile::ExeOwner
                       : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
            switch (fault) {
            case Missing:
            case RemovedWhileOpen:
                return broken ? QDir(folder).removeRecursively() : QDir().mkdir(folder);
            case NoPermission:
                return !root    ? QFile::setPermissions(folder, writable)
                       : broken ? run({"mount", "--bind", "-o", "ro", folder, folder})
                                : run({"umount", folder});
            case Full:
                if (!broken) {
                    filler.close(); // its unwritten rest is dropped
                    return QFile::remove(filler.fileName());
                }
                filler.open(QIODevice::WriteOnly);
                while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
                }
                return true;
            }
            return false;
        };
        QVERIFY(QDir().mkdir(folder));
        const auto unmount = qScopeGuard([&] {
            if (root)
                run({"umount", "-q", folder});
        });
        if (fault == Full && !run({"mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", folder}))
            QSKIP("mount -t tmpfs failed");
        RecordSeries series(folder);
        if (fault == RemovedWhileOpen)
            series.append(at("10:00:00"), 21.0, 4.2, false);
        QVERIFY(breakFolder(true));
        QStringList expected{"BOM", Header};
        for (const char *time : {"10:00:01", "10:00:02", "10:00:03", "10:00:04"}) {
            if (expected.size() == 5) {
                QTEST(series.failure(), "failure");
                QCOMPARE(series.waiting(), 3);
                QVERIFY(breakFolder(false));
            }
            series.append(at(time), 21.0, 4.2, false);
            expected << u"2026-12-07 %1;+01:00;21,0;4,2;nein"_s.arg(QLatin1String(time));
        }
        QCOMPARE(series.failure(), RecordFile::Failure::None);
        QCOMPARE(lines(folder), expected);
    }
};

QTEST_MAIN(TestRecording)
#include "tst_recording.moc"
