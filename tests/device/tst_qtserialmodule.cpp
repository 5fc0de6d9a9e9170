#include "device/qtserialmodule.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
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

// Waits for the simulator without running the event loop, so that bytes it sends stay in the
// system's buffer unless a test lets QSerialPort take them.
template <typename Condition> bool waitFor(Condition condition)
{
    const QDeadlineTimer deadline(SyncMilliseconds);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(5);
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
    void cleanup();
    void cleanupTestCase();

    void answers_data();
    void answers();
    void silence();
    void strayBytesDiscarded();
    void lateAnswerNotTakenForNext();
    void modemLinesOnPseudoTerminal();
    void openFailure_data();
    void openFailure();
    void unplugAndPlugBack();
    void delaySleeps();

private:
    bool control(const QByteArray &line);
    int logCount(const QByteArray &line) const;

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
    if (!QFileInfo::exists(m_link))
        QVERIFY(control("plug") && waitFor([this] { return QFileInfo::exists(m_link); }));
    QVERIFY(control("silent off"));
    QVERIFY(control("delay 0"));
    m_module = std::make_unique<QtSerialModule>();
    m_module->OPENCOM(OpenCom1);
}

void TestQtSerialModule::cleanup()
{
    m_module.reset();
}

void TestQtSerialModule::cleanupTestCase()
{
    m_simulator.terminate();
    if (!m_simulator.waitForFinished(SyncMilliseconds))
        m_simulator.kill();
}

bool TestQtSerialModule::control(const QByteArray &line)
{
    const QByteArray logged = "ctl " + line;
    const int before = logCount(logged);
    QFile fifo(m_link + QStringLiteral(".ctl"));
    if (!fifo.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || fifo.write(line + '\n') < 0)
        return false;
    fifo.close();
    return waitFor([&] { return logCount(logged) > before; });
}

// How often the simulator has logged this line: a command it received, a byte it sent, ...
int TestQtSerialModule::logCount(const QByteArray &line) const
{
    QFile log(m_dir.filePath(QStringLiteral("log")));
    return log.open(QIODevice::ReadOnly) ? int(log.readAll().split('\n').count(line)) : 0;
}

void TestQtSerialModule::answers_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<qint16>("answer");

    QTest::newRow("wake-up") << 1 << PingByte;
    QTest::newRow("temperature") << 22 << TemperatureByte;
    QTest::newRow("battery") << 25 << BatteryByte;
    QTest::newRow("no command") << 7 << qint16(-1);
}

void TestQtSerialModule::answers()
{
    QFETCH(int, command);
    QFETCH(qint16, answer);

    m_module->SENDBYTE(command);
    QCOMPARE(m_module->READBYTE(), answer);
    QCOMPARE(m_module->READBYTE(), qint16(-1));
}

void TestQtSerialModule::silence()
{
    QVERIFY(control("silent on"));
    const int received = logCount("rx 22");
    m_module->SENDBYTE(22);
    QElapsedTimer waited;
    waited.start();
    QCOMPARE(m_module->READBYTE(), qint16(-1));
    QVERIFY2(waited.elapsed() < 1000, qPrintable(QString::number(waited.elapsed())));
    QVERIFY(waitFor([&] { return logCount("rx 22") > received; }));

    // Having waited in vain leaves the port as usable as before.
    QVERIFY(control("silent off"));
    m_module->SENDBYTE(22);
    QCOMPARE(m_module->READBYTE(), TemperatureByte);
}

void TestQtSerialModule::strayBytesDiscarded()
{
    const QByteArray strayLogged = "tx 85"; // the simulator's stray byte is 0x55
    const int strays = logCount(strayLogged);
    QVERIFY(control("stray 3"));
    QVERIFY(waitFor([&] { return logCount(strayLogged) >= strays + 3; }));
    QTest::qWait(100); // lets QSerialPort take these into its own buffer
    QVERIFY(control("stray 3"));
    QVERIFY(waitFor([&] { return logCount(strayLogged) >= strays + 6; }));
    QThread::msleep(50); // these stay in the system's buffer

    m_module->SENDBYTE(25);
    QCOMPARE(m_module->READBYTE(), BatteryByte);
    QCOMPARE(m_module->READBYTE(), qint16(-1));
}

void TestQtSerialModule::lateAnswerNotTakenForNext()
{
    QVERIFY(control("delay 300"));
    const QByteArray answerLogged = "tx " + QByteArray::number(TemperatureByte);
    const int answered = logCount(answerLogged);
    m_module->SENDBYTE(22);
    QCOMPARE(m_module->READBYTE(), qint16(-1));
    QVERIFY(waitFor([&] { return logCount(answerLogged) > answered; }));
    QThread::msleep(50); // the late answer is on its way in

    QVERIFY(control("delay 0"));
    m_module->SENDBYTE(25);
    QCOMPARE(m_module->READBYTE(), BatteryByte);
}

void TestQtSerialModule::modemLinesOnPseudoTerminal()
{
    // A pseudo-terminal refuses modem lines; that must not pass for a lost device.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    for (int level : {1, 0, 1}) {
        m_module->RTS(level);
        m_module->DTR(level);
    }
    m_module->SENDBYTE(1);
    QCOMPARE(m_module->READBYTE(), PingByte);
}

void TestQtSerialModule::openFailure_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("dialoutHint");

    const QString plainFile = m_dir.filePath(QStringLiteral("plain"));
    const QString forbidden = m_dir.filePath(QStringLiteral("forbidden"));
    QFile(plainFile).open(QIODevice::WriteOnly);
    QFile(forbidden).open(QIODevice::WriteOnly);
    QFile::setPermissions(forbidden, {});

    QTest::newRow("missing") << m_dir.filePath(QStringLiteral("missing")) << qt_error_string(ENOENT)
                             << false;
    QTest::newRow("not a terminal") << plainFile << qt_error_string(ENOTTY) << false;
    QTest::newRow("no permission") << forbidden << qt_error_string(EACCES) << true;
}

void TestQtSerialModule::openFailure()
{
    QFETCH(QString, device);
    QFETCH(QString, reason);
    QFETCH(bool, dialoutHint);
    if (dialoutHint && geteuid() == 0)
        QSKIP("root may open any file");

    qputenv("WARMLOG_COM2", QFile::encodeName(device));
    const QString line =
        QStringLiteral("^warmlog: cannot open %1: %2")
            .arg(QRegularExpression::escape(device), QRegularExpression::escape(reason));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(line + (dialoutHint ? ".*dialout" : "$")));
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    const int pings = logCount("rx 1");
    m_module->OPENCOM("COM2:9600,n,8,1");

    // No port is left open: COM1 no longer hears us, and reads give up at once.
    m_module->SENDBYTE(1);
    QElapsedTimer waited;
    waited.start();
    for (int i = 0; i < 20; ++i)
        QCOMPARE(m_module->READBYTE(), qint16(-1));
    QVERIFY2(waited.elapsed() < 20 * QtSerialModule::ReadWaitMilliseconds,
             qPrintable(QString::number(waited.elapsed())));
    m_module->OPENCOM(OpenCom1);
    m_module->SENDBYTE(25);
    QCOMPARE(m_module->READBYTE(), BatteryByte);
    QCOMPARE(logCount("rx 1"), pings);
}

void TestQtSerialModule::unplugAndPlugBack()
{
    m_module->RTS(1);
    m_module->DTR(0);
    m_module->SENDBYTE(1);
    QCOMPARE(m_module->READBYTE(), PingByte);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^warmlog: lost ")));
    const int unplugs = logCount("unplug");
    QVERIFY(control("unplug"));
    QVERIFY(waitFor([&] { return logCount("unplug") > unplugs; }));
    QTest::qWait(50); // the event loop may be first to notice the hang-up
    for (int i = 0; i < 3; ++i) {
        m_module->SENDBYTE(1);
        QCOMPARE(m_module->READBYTE(), qint16(-1));
    }

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("is back$")));
    QVERIFY(control("plug"));
    qint16 answer = -1;
    const bool resumed = waitFor([&] {
        m_module->SENDBYTE(1);
        answer = m_module->READBYTE();
        return answer == PingByte;
    });
    QVERIFY2(resumed, qPrintable(QString::number(answer)));
}

void TestQtSerialModule::delaySleeps()
{
    // A wait that ran the event loop could start a timer tick inside the caller's tick.
    QObject context;
    bool ticked = false;
    QTimer::singleShot(0, &context, [&ticked] { ticked = true; });
    QElapsedTimer slept;
    slept.start();
    m_module->DELAY(50);
    QVERIFY(slept.elapsed() >= 50);
    QVERIFY(!ticked);
}

QTEST_GUILESS_MAIN(TestQtSerialModule)
#include "tst_qtserialmodule.moc"
