#include "device/openfailure.h"
#include "device/portlist.h"
#include "device/portmap.h"
#include "device/protocol.h"
#include "support/scriptedlink.h"

#include <QtTest>

#include <clocale>
#include <cstdio>

using namespace Qt::StringLiterals;

// The data sheet's values: temperature text and battery number text, empty where it lists none.
static const QHash<int, QPair<QString, QString>> Listed = {
    {-1, {"0 °C", " .3"}},   {0, {"0 °C", " .4"}},        {1, {"-57.7 °C", ""}},
    {23, {"", " 2.6"}},      {28, {"", " 3.1"}},          {35, {"", " 3.9"}},
    {36, {"", " 4"}},        {37, {"", " 4.1"}},          {49, {"-2 °C", ""}},
    {50, {"-1.6 °C", ""}},   {53, {"-.3 °C", ""}},        {54, {".1 °C", ""}},
    {81, {"10 °C", ""}},     {128, {"25.1 °C", ""}},      {253, {"164.6 °C", ""}},
    {254, {"164.6 °C", ""}}, {255, {"164.6 °C", " 25.9"}}};

class TestProtocol : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The German run only proves something if the C library really writes a decimal comma there;
    // on Windows Qt leaves it at "C", but any DLL in the process may set it.
    void initTestCase()
    {
#ifdef Q_OS_WIN
        std::setlocale(LC_ALL, "");
#endif
        char text[8];
        std::snprintf(text, sizeof text, "%.1f", 0.5);
        const QString locale = qEnvironmentVariable("LC_ALL");
        QCOMPARE(text[1],
                 locale.startsWith(u"de_DE"_s) || locale.startsWith(u"pl_PL"_s) ? ',' : '.');
    }

    void everyAnswer_data()
    {
        QTest::addColumn<int>("answer");
        for (int answer = -1; answer <= 255; ++answer)
            QTest::addRow("%d", answer) << answer;
    }
    void everyAnswer()
    {
        static const QRegularExpression form(u"^(0|-?([1-9]\\d*(\\.[1-9])?|\\.[1-9])) °C$"_s);
        QFETCH(int, answer);
        ScriptedLink port;
        port.answers = {qint16(answer), qint16(answer)};
        const protocol::Temperature reading =
            protocol::temperatureFromAnswer(protocol::ask(port, protocol::CommandTemperature));
        const double volts =
            protocol::voltageFromAnswer(protocol::ask(port, protocol::CommandBattery));

        const QString read = u"readByte -> %1"_s.arg(answer);
        QCOMPARE(port.calls, QStringList({"sendByte 22", read, "sendByte 25", read}));
        QCOMPARE(reading.has_value(), answer > 0);
        // Readings rise with the answer.
        QVERIFY(answer < 2 || *reading >= *protocol::temperatureFromAnswer(answer - 1));
        QVERIFY(volts >= protocol::voltageFromAnswer(answer - 1));
        const QString text = protocol::temperatureText(reading);
        QVERIFY2(form.match(text).hasMatch(), qPrintable(text));
        // The minimum and maximum are read back from the texts.
        QVERIFY(protocol::temperatureFromText(text) == reading);
        const auto [temperature, battery] = Listed.value(answer);
        QVERIFY(temperature.isEmpty() || text == temperature);
        QVERIFY(battery.isEmpty() || protocol::numberText(volts) == battery);
    }

    // Wakes the device with setRts, then pings until it answers, three times at most.
    void wakeUp_data()
    {
        QTest::addColumn<QList<qint16>>("answers");
        QTest::newRow("first ping") << QList<qint16>{7};
        QTest::newRow("first ping, byte 0") << QList<qint16>{0};
        QTest::newRow("silence") << QList<qint16>{};
    }
    void wakeUp()
    {
        QFETCH(QList<qint16>, answers);
        ScriptedLink port;
        port.answers = answers;
        protocol::wakeUp(port);
        QStringList expected = {"setRts 0", "delay 50", "setRts 1", "delay 200"};
        for (int ping = 0; ping < (answers.isEmpty() ? 3 : 1); ++ping)
            expected << "sendByte 1"
                     << "delay 10" << u"readByte -> %1"_s.arg(answers.value(ping, -1));
        QCOMPARE(port.calls, expected);
    }
    // Port names as the system gives them, whichever way Qt read them, in natural order.
    void portNames()
    {
        const QString utf8 = u"Gerät ttyÜ0"_s;
        for (const QString &text : {utf8, u"Kanal ✓"_s, u"ttyUSB0"_s})
            QCOMPARE(SystemPortList::systemText(text), text);
        QCOMPARE(SystemPortList::systemText(QString::fromLatin1(utf8.toUtf8())), utf8);
        QStringList names = {u"COM11"_s,   u"ttyUSB10"_s, u"COM5"_s, u"COM10"_s,
                             u"ttyUSB2"_s, u"COM05x"_s,   u"COM1"_s, u"ttyS0"_s};
        std::sort(names.begin(), names.end(), SystemPortList::naturalLess);
        QCOMPARE(names.join(u' '), u"COM1 COM5 COM05x COM10 COM11 ttyS0 ttyUSB2 ttyUSB10"_s);
    }

    // A port that would not open: a German reason and remedy on every system. Windows refuses
    // a port that another program holds with "access denied".
    void openFailure()
    {
        const auto tip = [](QSerialPort::SerialPortError error) {
            return openfailure::toolTip(u"COM3"_s, openfailure::explain(error, u"COM3"_s));
        };
        QCOMPARE(tip(QSerialPort::DeviceNotFoundError),
                 u"COM3 lässt sich nicht öffnen: Den Anschluss gibt es nicht.\nAbhilfe: Ist der "
                 "Adapter eingesteckt? Sonst im Menü \"Anschluss\" einen anderen wählen."_s);
        QVERIFY(tip(QSerialPort::ResourceError)
                    .endsWith(u"Fehler.\nAbhilfe: den Adapter aus- und "
                              "wieder einstecken, dann den Anschluss "
                              "noch einmal wählen."_s));
#ifdef Q_OS_WIN
        QVERIFY(tip(QSerialPort::PermissionError)
                    .startsWith(u"COM3 lässt sich nicht öffnen: Ein anderes Programm benutzt ihn."
                                "\nAbhilfe: das andere Programm beenden"_s));
#endif
    }

    // COM1 to COM99, each renamed by WARMLOG_COMn if set; other names are the system's own,
    // within /dev where there is one, and never a path on Windows.
    void deviceFor_data()
    {
        QTest::addColumn<QByteArray>("openText");
        QTest::addColumn<QString>("device"); // empty: names none
        // The open text, the device elsewhere, the device on Windows; "-" for none.
        const bool onWindows =
            QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows;
        for (const char *row :
             {"COM1:9600,n,8,1 /dev/ttyS0 COM1", "COM2:9600,n,8,1 COM7 COM7",
              "COM12:9600 /dev/ttyS11 COM12", "COM99 /dev/ttyS98 COM99", "COM0:9600 /dev/COM0 COM0",
              "COM100:9600 /dev/COM100 COM100", "COM01:9600 /dev/COM01 COM01",
              "COM+1:9600 /dev/COM+1 COM+1", "COM1x:9600 /dev/COM1x COM1x", "pts/3 /dev/pts/3 -",
              ":9600,n,8,1 - -", "../etc/x:9600 - -", "/etc/x:9600 - -",
              "..\\PhysicalDrive0 /dev/..\\PhysicalDrive0 -"}) {
            const QList<QByteArray> fields = QByteArray(row).split(' ');
            const QByteArray device = fields[onWindows ? 2 : 1];
            QTest::newRow(fields[0].constData())
                << fields[0] << QString::fromLatin1(device == "-" ? QByteArray() : device);
        }
    }
    void deviceFor()
    {
        QFETCH(QByteArray, openText);
        qputenv("WARMLOG_COM2", "COM7");
        QTEST(portmap::deviceFor(openText), "device");
    }
};

QTEST_MAIN(TestProtocol)
#include "tst_protocol.moc"
