#include "devicemodel.h"

#include "device/protocol.h"

#include <QTest>

class TestDeviceModel : public QObject
{
    Q_OBJECT

private slots:
    void bytes();
    void answer_data();
    void answer();
};

void TestDeviceModel::bytes()
{
    // Every temperature the device reports comes back as the lowest byte giving it.
    for (int byte = 1, lowest = 1; byte <= 255; ++byte) {
        const double celsius = *protocol::temperatureFromAnswer(byte);
        if (celsius != *protocol::temperatureFromAnswer(lowest))
            lowest = byte;
        QCOMPARE(devsim::converterByteFor(celsius), lowest);
    }
    QCOMPARE(devsim::converterByteFor(21.4), 116); // between 21.3 and 21.6: the nearer
    QCOMPARE(devsim::converterByteFor(21.5), 117);
    QCOMPARE(devsim::converterByteFor(1000), 253);
    QCOMPARE(devsim::converterByteFor(-1000), 1);

    QCOMPARE(devsim::batteryByteFor(3.96), 36); // rounded, not cut off
    QCOMPARE(devsim::batteryByteFor(0.3), 0);
    QCOMPARE(devsim::batteryByteFor(30), 255);
}

void TestDeviceModel::answer_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<int>("drift");  // seconds into a drift from 10 to 30 °C over 40 s; -1: none
    QTest::addColumn<int>("answer"); // -1: none

    QTest::newRow("ping") << 1 << false << -1 << 7;
    QTest::newRow("temperature") << 22 << false << -1 << 128;
    QTest::newRow("battery") << 25 << false << -1 << 35;
    QTest::newRow("no command") << 23 << false << -1 << -1;
    QTest::newRow("silent") << 22 << true << -1 << -1;
    QTest::newRow("drift top") << 22 << false << 20 << devsim::converterByteFor(30);
    QTest::newRow("drift falling") << 22 << false << 30 << devsim::converterByteFor(20);
    QTest::newRow("drift, next period") << 22 << false << 45 << devsim::converterByteFor(15);
}

void TestDeviceModel::answer()
{
    QFETCH(int, command);
    QFETCH(bool, silent);
    QFETCH(int, drift);
    QFETCH(int, answer);

    const devsim::Clock::time_point start = devsim::Clock::now();
    const devsim::Clock::time_point now = start + std::chrono::seconds(drift);
    devsim::DeviceModel device;
    device.setPingByte(7);
    device.setTemperature(25.1);
    device.setBatteryByte(35);
    device.setSilent(silent);
    if (drift >= 0)
        device.startDrift(10, 30, 40, start);
    QCOMPARE(device.answer(command, now).value_or(-1), answer);

    device.stopDrift(); // back to the temperature set
    QCOMPARE(device.answer(22, now).value_or(-1), silent ? -1 : 128);
}

QTEST_GUILESS_MAIN(TestDeviceModel)
#include "tst_devicemodel.moc"
