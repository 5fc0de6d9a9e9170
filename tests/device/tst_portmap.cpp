#include "device/portmap.h"

#include <QTest>

class TestPortmap : public QObject
{
    Q_OBJECT

private slots:
    void portNumber_data();
    void portNumber();
    void devicePath_data();
    void devicePath();
};

void TestPortmap::portNumber_data()
{
    QTest::addColumn<QByteArray>("openText");
    QTest::addColumn<int>("number"); // 0: names no port

    QTest::newRow("COM1") << QByteArray("COM1:9600,n,8,1") << 1;
    QTest::newRow("COM4") << QByteArray("COM4:9600,n,8,1") << 4;
    QTest::newRow("two digits") << QByteArray("COM12:9600,n,8,1") << 12;
    QTest::newRow("no settings") << QByteArray("COM3") << 3;
    QTest::newRow("COM99") << QByteArray("COM99:9600,n,8,1") << 99;
    QTest::newRow("COM0") << QByteArray("COM0:9600,n,8,1") << 0;
    QTest::newRow("COM100") << QByteArray("COM100:9600,n,8,1") << 0;
    QTest::newRow("leading zero") << QByteArray("COM01:9600,n,8,1") << 0;
    QTest::newRow("sign") << QByteArray("COM+1:9600,n,8,1") << 0;
    QTest::newRow("negative") << QByteArray("COM-1:9600,n,8,1") << 0;
    QTest::newRow("no number") << QByteArray("COM:9600,n,8,1") << 0;
    QTest::newRow("trailing letter") << QByteArray("COM1x:9600,n,8,1") << 0;
    QTest::newRow("lower case") << QByteArray("com1:9600,n,8,1") << 0;
    QTest::newRow("other device") << QByteArray("LPT1:") << 0;
    QTest::newRow("empty") << QByteArray() << 0;
}

void TestPortmap::portNumber()
{
    QFETCH(QByteArray, openText);
    QFETCH(int, number);

    QCOMPARE(portmap::portNumber(openText).value_or(0), number);
}

void TestPortmap::devicePath_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QByteArray>("variable"); // WARMLOG_COMn's value; null: unset
    QTest::addColumn<QString>("path");

#ifdef Q_OS_WIN
    QTest::newRow("COM1") << 1 << QByteArray() << QStringLiteral("COM1");
    QTest::newRow("COM4") << 4 << QByteArray() << QStringLiteral("COM4");
#else
    QTest::newRow("COM1") << 1 << QByteArray() << QStringLiteral("/dev/ttyS0");
    QTest::newRow("COM4") << 4 << QByteArray() << QStringLiteral("/dev/ttyS3");
    QTest::newRow("empty variable") << 2 << QByteArray("") << QStringLiteral("/dev/ttyS1");
#endif
    QTest::newRow("USB adapter") << 1 << QByteArray("/dev/ttyUSB0")
                                 << QStringLiteral("/dev/ttyUSB0");
    QTest::newRow("pseudo-terminal")
        << 3 << QByteArray("/tmp/example/ttyDevice") << QStringLiteral("/tmp/example/ttyDevice");
}

void TestPortmap::devicePath()
{
    QFETCH(int, number);
    QFETCH(QByteArray, variable);
    QFETCH(QString, path);

    for (int n = 1; n <= 4; ++n)
        qunsetenv(QByteArray("WARMLOG_COM" + QByteArray::number(n)).constData());
    const QByteArray name = "WARMLOG_COM" + QByteArray::number(number);
    if (!variable.isNull())
        qputenv(name.constData(), variable);
    // Another port's variable must not leak into this one.
    qputenv(QByteArray("WARMLOG_COM" + QByteArray::number(number % 4 + 1)).constData(),
            "/dev/ttyUSB9");

    QCOMPARE(portmap::devicePath(number), path);
    qunsetenv(name.constData());
}

QTEST_GUILESS_MAIN(TestPortmap)
#include "tst_portmap.moc"
