#include "device/qtserialmodule.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <memory>
#include <unistd.h>

namespace {

constexpr char OpenCom1[] = "COM1:9600,n,8,1";
constexpr qint16 PingByte = 1;
constexpr qint16 TemperatureByte = 128;
constexpr qint16 BatteryByte = 40;
constexpr int SyncMilliseconds = 5000;

// Polls without running the event loop, so bytes the simulator sends stay in the system's buffer
// unless a test lets QSerialPort take them.
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
class TestQtSerialModule : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void exchange_data();
    void exchange();
    void lateAnswers_data();
    void lateAnswers();
    void openFailure_data();
    void openFailure();
    void delaySleeps();
    void unplugAndPlugBack(); // last: it leaves no device behind when it fails

private:
    bool control(const QByteArray &line);
    int logCount(const QByteArray &prefix) const;

    QTemporaryDir m_dir;
    QString m_link;
    QProcess m_simulator;
    std::unique_ptr<QtSerialModule> m_module;
};

void TestQtSerialModule::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_link = m_dir.filePath(QStringLiteral("com1"));
    m_simulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_simulator.start(QStringLiteral(WARMLOG_DEVSIM),
                      {QStringLiteral("--link"), m_link, QStringLiteral("--log"),
                       m_dir.filePath(QStringLiteral("log")), QStringLiteral("--temp-byte"),
                       QString::number(TemperatureByte), QStringLiteral("--battery-byte"),
                       QString::number(BatteryByte)});
    QTRY_VERIFY_WITH_TIMEOUT(m_simulator.canReadLine(), SyncMilliseconds);
    QCOMPARE(m_simulator.readLine().trimmed(), "ready " + m_link.toLocal8Bit());
    qputenv("WARMLOG_COM1", m_link.toLocal8Bit());
}

void TestQtSerialModule::init()
{
    // Any warning not expected, such as a refused modem line taken for a lost device, fails.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    m_module = std::make_unique<QtSerialModule>();
    m_module->OPENCOM(OpenCom1);
}

void TestQtSerialModule::cleanupTestCase()
{
    m_simulator.terminate();
    if (!m_simulator.waitForFinished(SyncMilliseconds))
        m_simulator.kill();
}

bool TestQtSerialModule::control(const QByteArray &line)
{
    const int before = logCount("ctl " + line);
    QFile fifo(m_link + QStringLiteral(".ctl"));
    return fifo.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && fifo.write(line + '\n') > 0 &&
           waitFor([&] { return logCount("ctl " + line) > before; });
}

// How many lines of the simulator's log start so: "rx " bytes received, "tx " sent, ...
int TestQtSerialModule::logCount(const QByteArray &prefix) const
{
    QFile log(m_dir.filePath(QStringLiteral("log")));
    return log.open(QIODevice::ReadOnly) ? int(("\n" + log.readAll()).count("\n" + prefix)) : 0;
}

void TestQtSerialModule::exchange_data()
{
    QTest::addColumn<QByteArray>("setup"); // a control line for the simulator
    QTest::addColumn<int>("command");      // -1: none
    QTest::addColumn<qint16>("answer");
    QTest::addColumn<int>("sends");   // bytes the simulator sends, asked or not
    QTest::addColumn<bool>("readIn"); // QSerialPort takes them in, or the system keeps them

    QTest::newRow("silent") << QByteArray("silent on") << 22 << qint16(-1) << 0 << false;
    QTest::newRow("stray") << QByteArray("stray 2") << -1 << qint16(-1) << 2 << true;
    QTest::newRow("flood") << QByteArray("stray 20000") << -1 << qint16(-1) << 0 << true;
    QTest::newRow("late answer") << QByteArray("delay 300") << 22 << qint16(-1) << 1 << false;
}

// Then a battery reading: its answer alone, whatever came before.
void TestQtSerialModule::exchange()
{
    QFETCH(QByteArray, setup);
    QFETCH(int, command);
    QFETCH(qint16, answer);
    QFETCH(int, sends);
    QFETCH(bool, readIn);

    // A pseudo-terminal refuses modem lines; the port stays usable.
    m_module->RTS(1);
    m_module->DTR(0);
    const int sent = logCount("tx ");
    if (!setup.isEmpty())
        QVERIFY(control(setup));
    if (command >= 0) {
        m_module->SENDBYTE(command);
        QCOMPARE(m_module->READBYTE(), answer);
    }
    QVERIFY(waitFor([&] { return logCount("tx ") >= sent + sends; }));
    // After a read that timed out, the next other command waits for a quiet line.
    if (answer == -1 && command >= 0)
        QTest::qWait(QtSerialModule::QuietMilliseconds + 50);
    else
        readIn ? QTest::qWait(100) : QThread::msleep(50);
    QVERIFY(m_module->bufferedBytes() <= QtSerialModule::ReadBufferBytes);

    QVERIFY(control("silent off") && control("delay 0"));
    m_module->SENDBYTE(25);
    QCOMPARE(m_module->READBYTE(), BatteryByte);
    QCOMPARE(m_module->READBYTE(), qint16(-1));
}

void TestQtSerialModule::lateAnswers_data()
{
    QTest::addColumn<int>("delay");
    for (const int delay : {0, 60, 120, 400})
        QTest::addRow("%d ms", delay) << delay;
}

// Ticks of the program's cycle: an answer is the own command's or none, never another's; an
// answer in time changes nothing of the traffic.
void TestQtSerialModule::lateAnswers()
{
    QFETCH(int, delay);

    QVERIFY(control("delay " + QByteArray::number(delay)));
    const int received = logCount("rx ");
    for (int tick = 0; tick < 2; ++tick) {
        for (const int command : {25, 25, 22, 22, 22}) {
            m_module->SENDBYTE(command);
            const qint16 answer = m_module->READBYTE();
            const qint16 own = command == 22 ? TemperatureByte : BatteryByte;
            QVERIFY2(answer == own || (delay > 0 && answer == -1),
                     qPrintable(QStringLiteral("%1 for %2").arg(answer).arg(command)));
        }
        QTest::qWait(1000);
    }
    QVERIFY(delay > 0 || logCount("rx ") == received + 10);
    QVERIFY(control("delay 0"));
}

void TestQtSerialModule::openFailure_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<int>("error");      // 0: locked by another holder
    QTest::addColumn<QString>("hint");   // ends the log line
    QTest::addColumn<QString>("advice"); // the tool tip's second line

    const QString forbidden = m_dir.filePath(QStringLiteral("forbidden"));
    QFile(forbidden).open(QIODevice::WriteOnly);
    QFile::setPermissions(forbidden, {});
    QTest::newRow("missing") << m_dir.filePath(QStringLiteral("missing")) << ENOENT << "[^(]*$"
                             << QString();
    QTest::newRow("no permission")
        << forbidden << EACCES << "dialout.*\\)$"
        << "\"sudo adduser $USER dialout\" eingeben, dann ab- und wieder";
    QTest::newRow("locked") << m_link << 0 << "another program.*\\)$"
                            << "ein anderes Programm den Anschluss";
}

void TestQtSerialModule::openFailure()
{
    QFETCH(QString, device);
    QFETCH(int, error);
    QFETCH(QString, hint);
    QFETCH(QString, advice);

    qputenv("WARMLOG_COM2", QFile::encodeName(device));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression("^warmlog: cannot open " +
                                            QRegularExpression::escape(device) + ": .*" + hint));
    const int received = logCount("rx ");
    // Root may open anything: try as nobody, keeping root to return to. Nobody may not unlock
    // COM1, and another holder cannot lock it, so it is closed first.
    const bool asRoot = error == EACCES && geteuid() == 0;
    QSerialPort holder(device);
    if (asRoot || !error)
        m_module->CLOSECOM();
    QVERIFY(error || holder.open(QIODevice::ReadWrite));
    QVERIFY(!asRoot || setresuid(65534, 65534, 0) == 0);
    m_module->OPENCOM("COM2:9600,n,8,1");
    QVERIFY(!asRoot || setresuid(0, 0, 0) == 0);
    holder.close();

    // The status label's tool tip: the device and the system's words, then the remedy.
    const QStringList failure = m_module->openFailure().split(QLatin1Char('\n'));
    QVERIFY(failure.first().startsWith(device + QStringLiteral(" lässt sich nicht öffnen: ")));
    QVERIFY(!error || failure.first().contains(qt_error_string(error)));
    QCOMPARE(failure.size(), advice.isEmpty() ? 1 : 2);
    QVERIFY2(failure.constLast().contains(advice), qPrintable(failure.constLast()));

    // COM1 was closed: it hears nothing until opened again.
    m_module->SENDBYTE(1);
    QCOMPARE(m_module->READBYTE(), qint16(-1));
    m_module->OPENCOM(OpenCom1);
    QCOMPARE(m_module->openFailure(), QString());
    m_module->SENDBYTE(25);
    QCOMPARE(m_module->READBYTE(), BatteryByte);
    QCOMPARE(logCount("rx "), received + 1);
}

void TestQtSerialModule::delaySleeps()
{
    // A wait that ran the event loop could start a timer tick inside the caller's.
    QObject context;
    bool ticked = false;
    QTimer::singleShot(0, &context, [&ticked] { ticked = true; });
    QElapsedTimer slept;
    slept.start();
    m_module->DELAY(50);
    QVERIFY(slept.elapsed() >= 50);
    QVERIFY(!ticked);
}

void TestQtSerialModule::unplugAndPlugBack()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^warmlog: lost ")));
    const int unplugs = logCount("unplug");
    QVERIFY(control("unplug") && waitFor([&] { return logCount("unplug") > unplugs; }));
    QTest::qWait(50); // the event loop may be first to notice the hang-up
    m_module->SENDBYTE(1);
    QCOMPARE(m_module->READBYTE(), qint16(-1));

    // Back without OPENCOM.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("is back$")));
    QVERIFY(control("plug"));
    QVERIFY(waitFor([this] {
        m_module->SENDBYTE(1);
        return m_module->READBYTE() == PingByte;
    }));
}

QTEST_GUILESS_MAIN(TestQtSerialModule)
#include "tst_qtserialmodule.moc"
