#include "devicemodel.h"

#include "device/protocol.h"

#include <QTest>

class TestDeviceModel : public QObject
{
    Q_OBJECT

private slots:
    void bytes()
    {
        // The simulator's table agrees with the program's: over a room's range, a temperature's
        // byte is one of the two the program reads it between.
        const auto reading = [](int byte) { return *protocol::temperatureFromAnswer(byte); };
        for (int tenths = -400; tenths <= 600; ++tenths) {
            const int byte = devsim::converterByteFor(tenths / 10.0);
            QVERIFY2(reading(byte - 1) <= tenths / 10.0 && tenths / 10.0 <= reading(byte + 1),
                     qPrintable(QString::number(tenths)));
        }
        QCOMPARE(devsim::converterByteFor(25.1), 128);
        QCOMPARE(devsim::converterByteFor(1000), 253);
        QCOMPARE(devsim::converterByteFor(-1000), 1);
        QCOMPARE(devsim::batteryByteFor(3.96), 36); // rounded, not cut off
        QCOMPARE(devsim::batteryByteFor(0.3), 0);
        QCOMPARE(devsim::batteryByteFor(30), 255);
    }

    void answers()
    {
        const devsim::Clock::time_point start = devsim::Clock::now();
        devsim::DeviceModel device;
        const auto answer = [&](int command, int seconds = 0) {
            return device.answer(command, start + std::chrono::seconds(seconds));
        };
        device.setPingByte(7);
        device.setTemperature(25.1);
        device.setBatteryByte(35);
        QCOMPARE(answer(1), 7);
        QCOMPARE(answer(22), 128);
        QCOMPARE(answer(25), 35);
        QCOMPARE(answer(23), std::nullopt);
        // From 10 to 30 °C in 20 s and back in another 20.
        device.startDrift(10, 30, 40, start);
        QCOMPARE(answer(22, 20), devsim::converterByteFor(30));
        QCOMPARE(answer(22, 30), devsim::converterByteFor(20));
        QCOMPARE(answer(22, 45), devsim::converterByteFor(15));
        device.stopDrift(); // back to the temperature set
        QCOMPARE(answer(22, 45), 128);
        device.setSilent(true);
        QCOMPARE(answer(25), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestDeviceModel)
#include "tst_devicemodel.moc"
