#include "device/portmap.h"

#include <QTest>

#include <utility>

class TestPortmap : public QObject
{
    Q_OBJECT

private slots:
    void portNumber_data();
    void portNumber();
    void deviceFor_data();
    void deviceFor();
};

void TestPortmap::portNumber_data()
{
    QTest::addColumn<QByteArray>("openText");
    QTest::addColumn<int>("number"); // 0: names no port

    const std::pair<const char *, int> rows[] = {
        {"COM1:9600,n,8,1", 1}, {"COM99:9600,n,8,1", 99}, {"COM3", 3},
        {"COM0:9600", 0},       {"COM100:9600", 0},       {"COM01:9600", 0},
        {"COM+1", 0},           {"COM1x:9600", 0},        {"LPT1:9600", 0}};
    for (const auto &[openText, number] : rows)
        QTest::newRow(openText) << QByteArray(openText) << number;
}

void TestPortmap::portNumber()
{
    QFETCH(QByteArray, openText);
    QFETCH(int, number);
    QCOMPARE(portmap::portNumber(openText).value_or(0), number);
}

void TestPortmap::deviceFor_data()
{
    QTest::addColumn<QByteArray>("openText");
    QTest::addColumn<QString>("device"); // empty: names none

    const std::pair<const char *, const char *> rows[] = {{"ttyUSB0:9600,n,8,1", "/dev/ttyUSB0"},
                                                          {"pts/3:9600,n,8,1", "/dev/pts/3"},
                                                          {"COM2:9600,n,8,1", "/dev/ttyS1"},
                                                          {"COM3:9600,n,8,1", "/dev/ttyUSB7"},
                                                          {"COM1:9600,n,8,1", "/dev/ttyS0"},
                                                          {":9600,n,8,1", ""},
                                                          {"../etc/x:9600", ""},
                                                          {"/etc/x:9600", ""}};
    for (const auto &[openText, device] : rows)
        QTest::newRow(openText) << QByteArray(openText) << QString::fromLatin1(device);
}

void TestPortmap::deviceFor()
{
#ifdef Q_OS_WIN
    QSKIP("Windows names its ports by name alone");
#endif
    QFETCH(QByteArray, openText);
    QFETCH(QString, device);
    qunsetenv("WARMLOG_COM2");
    qputenv("WARMLOG_COM3", "/dev/ttyUSB7");
    qputenv("WARMLOG_COM1", ""); // set but empty: no device named
    QCOMPARE(portmap::deviceFor(openText), device);
}

QTEST_GUILESS_MAIN(TestPortmap)
#include "tst_portmap.moc"
