#include "devicemodel.h"

#include "device/protocol.h"

#include <QTest>

using devsim::Clock;

class TestDeviceModel : public QObject
{
    Q_OBJECT

private slots:
    void converterByte_data();
    void converterByte();
    void converterByteRoundTrip();
    void batteryByte_data();
    void batteryByte();
    void answer_data();
    void answer();
    void drift_data();
    void drift();
};

void TestDeviceModel::converterByte_data()
{
    QTest::addColumn<double>("celsius");
    QTest::addColumn<int>("byte");

    QTest::newRow("25.1") << 25.1 << 128;
    QTest::newRow("21.5 between two bytes") << 21.5 << 117;
    QTest::newRow("-.3") << -0.3 << 53;
    QTest::newRow(".1") << 0.1 << 54;
    QTest::newRow("highest, three bytes tie") << 164.6 << 253;
    QTest::newRow("far above") << 1000.0 << 253;
    QTest::newRow("far below") << -1000.0 << 1;
}

void TestDeviceModel::converterByte()
{
    QFETCH(double, celsius);
    QFETCH(int, byte);
    QCOMPARE(devsim::converterByteFor(celsius), byte);
}

// Every temperature the device can report must be reproducible, by the lowest byte giving it.
void TestDeviceModel::converterByteRoundTrip()
{
    for (int byte = 1; byte <= 255; ++byte) {
        const double celsius = *protocol::temperatureFromAnswer(byte);
        int lowest = byte;
        while (lowest > 1 && *protocol::temperatureFromAnswer(lowest - 1) == celsius)
            --lowest;
        QCOMPARE(devsim::converterByteFor(celsius), lowest);
    }
}

void TestDeviceModel::batteryByte_data()
{
    QTest::addColumn<double>("volts");
    QTest::addColumn<int>("byte");

    QTest::newRow("4.2") << 4.2 << 38;
    QTest::newRow("3.9") << 3.9 << 35;
    QTest::newRow("2.6") << 2.6 << 22;
    QTest::newRow("below the offset") << 0.3 << 0;
    QTest::newRow("above a byte") << 30.0 << 255;
}

void TestDeviceModel::batteryByte()
{
    QFETCH(double, volts);
    QFETCH(int, byte);
    QCOMPARE(devsim::batteryByteFor(volts), byte);
}

void TestDeviceModel::answer_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<int>("answer"); // -1: none

    QTest::newRow("ping") << 1 << false << 7;
    QTest::newRow("temperature") << 22 << false << 128;
    QTest::newRow("battery") << 25 << false << 35;
    QTest::newRow("no command") << 0 << false << -1;
    QTest::newRow("next to a command") << 23 << false << -1;
    QTest::newRow("silent ping") << 1 << true << -1;
    QTest::newRow("silent temperature") << 22 << true << -1;
}

void TestDeviceModel::answer()
{
    QFETCH(int, command);
    QFETCH(bool, silent);
    QFETCH(int, answer);

    devsim::DeviceModel device;
    device.setPingByte(7);
    device.setTemperature(25.1);
    device.setBatteryByte(35);
    device.setSilent(silent);
    QCOMPARE(device.answer(command, Clock::now()).value_or(-1), answer);
}

void TestDeviceModel::drift_data()
{
    QTest::addColumn<double>("elapsedSeconds");
    QTest::addColumn<double>("celsius");

    QTest::newRow("start") << 0.0 << 10.0;
    QTest::newRow("rising") << 10.0 << 20.0;
    QTest::newRow("top") << 20.0 << 30.0;
    QTest::newRow("falling") << 30.0 << 20.0;
    QTest::newRow("next period") << 45.0 << 15.0;
}

void TestDeviceModel::drift()
{
    QFETCH(double, elapsedSeconds);
    QFETCH(double, celsius);

    const Clock::time_point start = Clock::now();
    const auto elapsed =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(elapsedSeconds));
    devsim::DeviceModel device;
    device.startDrift(10, 30, 40, start);
    QCOMPARE(device.answer(protocol::CommandTemperature, start + elapsed).value_or(-1),
             devsim::converterByteFor(celsius));

    device.stopDrift();
    QCOMPARE(device.answer(protocol::CommandTemperature, start + elapsed).value_or(-1),
             devsim::converterByteFor(21.5));
}

QTEST_GUILESS_MAIN(TestDeviceModel)
#include "tst_devicemodel.moc"
