#include "device/portmap.h"

#include <QTest>

#include <utility>

class TestPortmap : public QObject
{
    Q_OBJECT

private slots:
    void deviceFor_data()
    {
        QTest::addColumn<QByteArray>("openText");
        QTest::addColumn<QString>("device"); // empty: names none
        // COM1 to COM99 are numbered ports; other names are the system's own.
        const std::pair<const char *, const char *> rows[] = {{"COM1:9600,n,8,1", "/dev/ttyS0"},
                                                              {"COM2:9600,n,8,1", "/dev/ttyS1"},
                                                              {"COM3", "/dev/ttyUSB7"},
                                                              {"COM99:9600", "/dev/ttyS98"},
                                                              {"COM0:9600", "/dev/COM0"},
                                                              {"COM100:9600", "/dev/COM100"},
                                                              {"COM01:9600", "/dev/COM01"},
                                                              {"COM+1:9600", "/dev/COM+1"},
                                                              {"COM1x:9600", "/dev/COM1x"},
                                                              {"LPT1:9600", "/dev/LPT1"},
                                                              {"pts/3:9600,n,8,1", "/dev/pts/3"},
                                                              {"ttyUSB0", "/dev/ttyUSB0"},
                                                              {":9600,n,8,1", ""},
                                                              {"../etc/x:9600", ""},
                                                              {"/etc/x:9600", ""}};
        for (const auto &[openText, device] : rows)
            QTest::newRow(openText) << QByteArray(openText) << QString::fromLatin1(device);
    }
    void deviceFor()
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
};

QTEST_GUILESS_MAIN(TestPortmap)
#include "tst_portmap.moc"
