#include "device/protocol.h"
#include "device/qtseriallink.h"

#include <QtCore>
#include <QtSerialPort>
#include <QtTest>

#include <memory>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr char OpenCom1[] = "COM1:9600,n,8,1";
constexpr qint16 Temperature = 128, Battery = 40, Ping = 1, None = -1;
constexpr int SyncMilliseconds = 5000;
// What else keeps a port from opening, besides an errno of the device's own.
enum Obstacle { Held = -1, LongName = -2 };

// Polls without the event loop, so what the simulator sends stays in the system's buffer.
template <typename Condition> bool waitFor(Condition condition)
{
    for (const QDeadlineTimer deadline(SyncMilliseconds); !condition(); QThread::msleep(5)) {
        if (deadline.hasExpired())
            return false;
    }
    return true;
}

} // namespace

// The real serial library against warmlog-devsim on a pseudo-terminal named as COM1.
class TestQtSerialLink : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString m_link = m_dir.filePath(QStringLiteral("com1"));
    QProcess m_simulator;
    std::unique_ptr<QtSerialLink> m_module;

    // How many lines of the simulator's log start so: "rx " bytes received, "tx " sent, ...
    int logCount(const QByteArray &prefix) const
    {
        QFile log(m_dir.filePath(QStringLiteral("log")));
        return log.open(QIODevice::ReadOnly) ? int(("\n" + log.readAll()).count("\n" + prefix)) : 0;
    }
    bool control(const QByteArray &line)
    {
        const int before = logCount("ctl " + line);
        QFile fifo(m_link + QStringLiteral(".ctl"));
        return fifo.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
               fifo.write(line + '\n') > 0 &&
               waitFor([&] { return logCount("ctl " + line) > before; });
    }
    qint16 ask(int command)
    {
        m_module->sendByte(command);
        return m_module->readByte();
    }

private slots:
    void initTestCase()
    {
        m_simulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_simulator.start(QStringLiteral(WARMLOG_DEVSIM),
                          {"--link", m_link, "--log", m_dir.filePath(QStringLiteral("log")),
                           "--temp-byte", QString::number(Temperature), "--battery-byte",
                           QString::number(Battery)});
        QTRY_VERIFY_WITH_TIMEOUT(m_simulator.canReadLine(), SyncMilliseconds);
        QCOMPARE(m_simulator.readLine().trimmed(), "ready " + m_link.toLocal8Bit());
        qputenv("WARMLOG_COM1", m_link.toLocal8Bit());
    }
    void init()
    {
        // Any warning not expected, such as a refused modem line taken for a lost device, fails.
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        m_module = std::make_unique<QtSerialLink>();
        m_module->open(OpenCom1);
    }

    void troubledLine_data()
    {
        QTest::addColumn<QByteArray>("on"); // the simulator's control lines, ";" between them
        QTest::addColumn<QByteArray>("off");
        // Doubled answers come 2 ms late, as at 9600 baud, so that a copy overtakes the next one.
        const char *const rows[][3] = {
            {"in time", "delay 0", "delay 0"},
            {"60 ms late", "delay 60", "delay 0"},
            {"120 ms late", "delay 120", "delay 0"},
            {"400 ms late", "delay 400", "delay 0"},
            {"bursts every 2 ms", "stray-every 2", "stray-every 0"},
            {"bursts every 40 ms", "stray-every 40", "stray-every 0"},
            {"flood", "flood on", "flood off"},
            {"doubled 1 ms apart", "delay 2;double 1", "double 0;delay 0"},
            {"doubled 5 ms apart", "delay 2;double 5", "double 0;delay 0"},
            {"echo", "echo on;silent on", "echo off;silent off"}};
        for (const auto &[name, on, off] : rows)
            QTest::newRow(name) << QByteArray(on) << QByteArray(off);
    }
    // Ticks of the program's cycle: a late answer is the own command's or none, never another's,
    // and one in time changes nothing of the traffic. Other trouble gives the same or a run
    // reported as noisy; an echo the caller tells by its values. Within 2 s of a quiet line the
    // runs are right and clean again.
    void troubledLine()
    {
        QFETCH(QByteArray, on);
        QFETCH(QByteArray, off);
        const bool late = on.startsWith("delay ") && !on.contains(';'),
                   echo = on.startsWith("echo");
        int strange = 0, wrong = 0; // answers of the last tick: neither right nor none, not right
        const auto tick = [&] {
            strange = wrong = 0;
            for (const int command : {25, 25, 22, 22, 22}) {
                const qint16 answer = ask(command), right = command == 22 ? Temperature : Battery;
                wrong += answer != right;
                strange += answer != right && answer != None && !(echo && answer == command);
            }
            return m_module->confirmAnswers();
        };
        const int received = logCount("rx ");
        for (const QByteArray &line : on.split(';'))
            QVERIFY(control(line));
        for (int i = 0; i < 8; ++i, QTest::qWait(100)) {
            const bool clean = tick();
            QVERIFY2(strange == 0 || (!late && !clean), qPrintable(QString::number(i)));
        }
        QVERIFY(on != "delay 0" || logCount("rx ") == received + 40);
        for (const QByteArray &line : off.split(';'))
            QVERIFY(control(line));
        QTRY_VERIFY_WITH_TIMEOUT(tick() && wrong == 0, 2000);
    }

    void openFailure_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("obstacle"); // errno, or Held, LongName (below)
        QTest::addColumn<QString>("hint"); // ends the log line
        QTest::addColumn<QString>("tip");  // after "DEVICE lässt sich nicht öffnen: "
        const QString forbidden = m_dir.filePath(QStringLiteral("forbidden"));
        QFile(forbidden).open(QIODevice::WriteOnly);
        QFile::setPermissions(forbidden, {});
        // Its lock file's name, LCK.. and the path, is longer than a file name may be.
        const QString folder = m_dir.filePath(QString(240, u'p'));
        QDir().mkpath(folder);
        QFile::link(m_link, folder + QStringLiteral("/com1"));
        const QString devices[] = {m_dir.filePath(QStringLiteral("missing")), forbidden, m_link,
                                   folder + QStringLiteral("/com1")};
        const int obstacles[] = {ENOENT, EACCES, Held, LongName};
        const char *const rows[][3] = {
            {"missing", "plugged in\\?\\)$",
             "Den Anschluss gibt es nicht.\nAbhilfe: Ist der Adapter eingesteckt?"},
            {"no permission", "dialout.*\\)$",
             "Keine Berechtigung.\nAbhilfe: im Terminal \"sudo adduser $USER dialout\" eingeben, "
             "dann ab- und wieder anmelden."},
            {"held", "tst_qtseriallink.* holds it\\)$",
             "Ein anderes Programm benutzt ihn: tst_qtseriallink (Prozess "},
            {"long name", "too long for a lock file\\)$",
             "Sein Name ist zu lang für seine Sperrdatei.\nAbhilfe: "}};
        for (int i = 0; i < 4; ++i)
            QTest::newRow(rows[i][0]) << devices[i] << obstacles[i] << QString(rows[i][1])
                                      << QString::fromUtf8(rows[i][2]);
    }
    void openFailure()
    {
        QFETCH(QString, device);
        QFETCH(int, obstacle);
        QFETCH(QString, hint);
        QFETCH(QString, tip);
        // Only root can open as nobody.
        const bool asNobody = obstacle == EACCES;

        qputenv("WARMLOG_COM2", QFile::encodeName(device));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^warmlog: cannot open " +
                                                              QRegularExpression::escape(device) +
                                                              ": .*" + hint));
        // COM1 is closed first where nobody could not unlock it or another holder not lock it.
        const bool viaNobody = asNobody && geteuid() == 0;
        if (viaNobody || obstacle == Held)
            m_module->close();
        QSerialPort holder(device);
        QVERIFY(obstacle != Held || holder.open(QIODevice::ReadWrite));
        QVERIFY(!viaNobody || setresuid(65534, 65534, 0) == 0);
        m_module->open("COM2:9600,n,8,1");
        QVERIFY(!viaNobody || setresuid(0, 0, 0) == 0);
        holder.close();

        QVERIFY2(m_module->openFailure().startsWith(device + u" lässt sich nicht öffnen: "_s + tip),
                 qPrintable(m_module->openFailure()));
        QCOMPARE(ask(1), None);
        m_module->open(OpenCom1);
        QCOMPARE(m_module->openFailure(), QString());
        QCOMPARE(ask(25), Battery);
    }

    void delaySleeps()
    {
        // A wait that ran the event loop could start a timer tick inside the caller's.
        QObject context;
        bool ticked = false;
        QTimer::singleShot(0, &context, [&ticked] { ticked = true; });
        QElapsedTimer slept;
        slept.start();
        m_module->delay(50);
        QVERIFY(slept.elapsed() >= 50 && !ticked);
    }

    void unplugAndPlugBack() // last: it leaves no device behind when it fails
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^warmlog: lost .*hung up"));
        const int unplugs = logCount("unplug");
        QVERIFY(control("unplug") && waitFor([&] { return logCount("unplug") > unplugs; }));
        QTest::qWait(50); // the event loop may be first to notice the hang-up
        QCOMPARE(ask(1), None);
        // Back without open.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("is back$")));
        QVERIFY(control("plug"));
        QVERIFY(waitFor([this] { return ask(1) == Ping; }));
    }
};

QTEST_GUILESS_MAIN(TestQtSerialLink)
#include "tst_qtseriallink.moc"
