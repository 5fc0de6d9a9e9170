#include "device/protocol.h"
#include "devicemodel.h"

#include <QtTest>

class TestDevsim : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Over a room's range, the simulator sends a byte the program reads as that temperature.
    void simulatorTable()
    {
        const auto reading = [](int byte) { return *protocol::temperatureFromAnswer(byte); };
        for (int tenths = -400; tenths <= 600; ++tenths) {
            const int byte = devsim::converterByteFor(tenths / 10.0);
            QVERIFY2(reading(byte - 1) <= tenths / 10.0 && tenths / 10.0 <= reading(byte + 1),
                     qPrintable(QString::number(tenths)));
        }
        QCOMPARE(QList<int>({devsim::converterByteFor(25.1), devsim::converterByteFor(1000),
                             devsim::converterByteFor(-1000), devsim::batteryByteFor(3.96),
                             devsim::batteryByteFor(0.3), devsim::batteryByteFor(30)}),
                 QList<int>({128, 253, 1, 36, 0, 255})); // 3.96 V rounded, not cut off
    }
};

QTEST_MAIN(TestDevsim)
#include "tst_devsim.moc"
