#include "device/protocol.h"
#include "devicemodel.h"

#include <QtTest>

class TestDeviceModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The simulator's table agrees with the program's: over a room's range, a temperature's byte
    // is one of the two the program reads it between.
    void table()
    {
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
};

QTEST_GUILESS_MAIN(TestDeviceModel)
#include "tst_devicemodel.moc"
