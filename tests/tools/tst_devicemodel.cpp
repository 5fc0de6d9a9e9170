#include "devicemodel.h"

#include "device/protocol.h"

#include <QTest>

#include <algorithm>

class TestDeviceModel : public QObject
{
    Q_OBJECT

private slots:
    void bytes()
    {
        // The simulator's table and the program's conversion come from the same data sheet: over
        // the range a room sees, the byte for a temperature is one of the two the program reads it
        // between.
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

    void answer_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("drift"); // seconds into a drift from 10 to 30 °C over 40 s; -1: none
        QTest::addColumn<int>("answer"); // -1: none; -2: silent, so none
        const int rows[][3] = {{1, -1, 7},   {22, -1, 128}, {25, -1, 35}, {23, -1, -1},
                               {22, -1, -2}, {22, 20, 30},  {22, 30, 20}, {22, 45, 15}};
        for (const auto &[command, drift, answer] : rows)
            QTest::addRow("%d at %d s: %d", command, drift, answer)
                << command << drift << (drift < 0 ? answer : devsim::converterByteFor(answer));
    }
    void answer()
    {
        QFETCH(int, command);
        QFETCH(int, drift);
        QFETCH(int, answer);
        const devsim::Clock::time_point start = devsim::Clock::now();
        const devsim::Clock::time_point now = start + std::chrono::seconds(drift);
        devsim::DeviceModel device;
        device.setPingByte(7);
        device.setTemperature(25.1);
        device.setBatteryByte(35);
        device.setSilent(answer == -2);
        if (drift >= 0)
            device.startDrift(10, 30, 40, start);
        QCOMPARE(device.answer(command, now).value_or(-1), std::max(answer, -1));
        device.stopDrift(); // back to the temperature set
        QCOMPARE(device.answer(22, now).value_or(-1), answer == -2 ? -1 : 128);
    }
};

QTEST_GUILESS_MAIN(TestDeviceModel)
#include "tst_devicemodel.moc"
