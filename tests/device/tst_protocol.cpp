#include "device/protocol.h"
#include "support/scriptedmodule.h"

#include <QLocale>
#include <QTest>

#include <cmath>
#include <cstdio>

using protocol::Temperature;

Q_DECLARE_METATYPE(Temperature)

namespace {

// The conversions written out once more, step by step as the device's data sheet gives them, so
// that a change of order or precision in the program shows up as a different tenth.
Temperature expectedTemperature(int answer)
{
    if (answer <= 0)
        return std::nullopt;
    const int numerator = 2550 - 10 * answer;
    double resistance = numerator;
    resistance /= answer;
    if (resistance < 0.1)
        resistance = 0.1;
    double inverse = std::log(resistance / 10.0);
    inverse /= 4300.0;
    inverse += 1.0 / 298.0;
    const double celsius = 1.0 / inverse - 273.0;
    return std::floor(celsius * 10.0) / 10.0;
}

double expectedVoltage(int answer)
{
    double volts = answer;
    volts /= 10.0;
    volts += 0.4;
    return std::floor(volts * 10.0) / 10.0;
}

// The temperature text by another road: Qt's C-locale formatting, trimmed.
QString expectedTemperatureText(Temperature value)
{
    if (!value)
        return QStringLiteral("0 °C");
    QString digits = QLocale::c().toString(std::fabs(*value), 'f', 1);
    if (digits.endsWith(QLatin1String(".0")))
        digits.chop(2);
    if (digits.startsWith(QLatin1String("0.")))
        digits.remove(0, 1);
    const bool negative = *value < 0 && digits != QLatin1String("0");
    return (negative ? QStringLiteral("-") : QString()) + digits + QStringLiteral(" °C");
}

QStringList exchange(int command, int answer)
{
    return {QStringLiteral("SENDBYTE %1").arg(command),
            QStringLiteral("READBYTE -> %1").arg(answer)};
}

} // namespace

class TestProtocol : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void germanSettingsAreInEffect();
    void readTempEveryAnswer_data();
    void readTempEveryAnswer();
    void readUbatEveryAnswer_data();
    void readUbatEveryAnswer();
    void listedTemperatures_data();
    void listedTemperatures();
    void listedVoltages_data();
    void listedVoltages();
    void numberText_data();
    void numberText();
    void wakeUp_data();
    void wakeUp();
};

// The German run is only worth its time if the C library really writes a decimal comma there.
void TestProtocol::germanSettingsAreInEffect()
{
    if (!qEnvironmentVariable("LC_ALL").startsWith(QLatin1String("de_DE")))
        QSKIP("runs under German settings only");
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.1f", 21.5);
    QCOMPARE(QByteArray(buffer), QByteArray("21,5"));
}

void TestProtocol::readTempEveryAnswer_data()
{
    QTest::addColumn<int>("answer");
    for (int answer = -1; answer <= 255; ++answer)
        QTest::addRow("%d", answer) << answer;
}

void TestProtocol::readTempEveryAnswer()
{
    QFETCH(int, answer);
    ScriptedModule port;
    port.answers = {qint16(answer)};

    const Temperature reading = protocol::ReadTemp(port);

    QCOMPARE(port.calls, exchange(22, answer));
    const Temperature expected = expectedTemperature(answer);
    QCOMPARE(reading.has_value(), expected.has_value());
    if (expected)
        QVERIFY2(*reading == *expected, qPrintable(QString::number(*reading, 'g', 17)));
    QCOMPARE(protocol::temperatureText(reading), expectedTemperatureText(expected));
    // The min/max fields are read back from these texts.
    const Temperature readBack = protocol::temperatureFromText(protocol::temperatureText(reading));
    QCOMPARE(readBack.has_value(), reading.has_value());
    if (reading)
        QCOMPARE(*readBack, *reading);
}

void TestProtocol::readUbatEveryAnswer_data()
{
    readTempEveryAnswer_data();
}

void TestProtocol::readUbatEveryAnswer()
{
    QFETCH(int, answer);
    ScriptedModule port;
    port.answers = {qint16(answer)};

    const double reading = protocol::ReadUbat(port);

    QCOMPARE(port.calls, exchange(25, answer));
    QVERIFY2(reading == expectedVoltage(answer), qPrintable(QString::number(reading, 'g', 17)));
}

void TestProtocol::listedTemperatures_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<Temperature>("expected");
    QTest::addColumn<QString>("text");

    QTest::newRow("silent") << -1 << Temperature() << QStringLiteral("0 °C");
    QTest::newRow("zero") << 0 << Temperature() << QStringLiteral("0 °C");
    QTest::newRow("1") << 1 << Temperature(-57.7) << QStringLiteral("-57.7 °C");
    QTest::newRow("49") << 49 << Temperature(-2.0) << QStringLiteral("-2 °C");
    QTest::newRow("50") << 50 << Temperature(-1.6) << QStringLiteral("-1.6 °C");
    QTest::newRow("53") << 53 << Temperature(-0.3) << QStringLiteral("-.3 °C");
    QTest::newRow("54") << 54 << Temperature(0.1) << QStringLiteral(".1 °C");
    QTest::newRow("81") << 81 << Temperature(10.0) << QStringLiteral("10 °C");
    QTest::newRow("128") << 128 << Temperature(25.1) << QStringLiteral("25.1 °C");
    QTest::newRow("242") << 242 << Temperature(100.7) << QStringLiteral("100.7 °C");
    QTest::newRow("253") << 253 << Temperature(164.6) << QStringLiteral("164.6 °C");
    QTest::newRow("254") << 254 << Temperature(164.6) << QStringLiteral("164.6 °C");
    QTest::newRow("255") << 255 << Temperature(164.6) << QStringLiteral("164.6 °C");
}

void TestProtocol::listedTemperatures()
{
    QFETCH(int, answer);
    QFETCH(Temperature, expected);
    QFETCH(QString, text);

    const Temperature reading = protocol::temperatureFromAnswer(answer);
    QCOMPARE(reading.has_value(), expected.has_value());
    if (expected)
        QCOMPARE(*reading, *expected);
    QCOMPARE(protocol::temperatureText(reading), text);
}

void TestProtocol::listedVoltages_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<double>("expected");
    QTest::addColumn<QString>("text");

    QTest::newRow("silent") << -1 << 0.3 << QStringLiteral(" .3");
    QTest::newRow("0") << 0 << 0.4 << QStringLiteral(" .4");
    QTest::newRow("23") << 23 << 2.6 << QStringLiteral(" 2.6");
    QTest::newRow("28") << 28 << 3.1 << QStringLiteral(" 3.1");
    QTest::newRow("35") << 35 << 3.9 << QStringLiteral(" 3.9");
    QTest::newRow("36") << 36 << 4.0 << QStringLiteral(" 4");
    QTest::newRow("37") << 37 << 4.1 << QStringLiteral(" 4.1");
    QTest::newRow("255") << 255 << 25.9 << QStringLiteral(" 25.9");
}

void TestProtocol::listedVoltages()
{
    QFETCH(int, answer);
    QFETCH(double, expected);
    QFETCH(QString, text);

    const double reading = protocol::voltageFromAnswer(answer);
    QCOMPARE(reading, expected);
    QCOMPARE(protocol::numberText(reading), text);
}

void TestProtocol::numberText_data()
{
    QTest::addColumn<Temperature>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("21.5") << Temperature(21.5) << QStringLiteral(" 21.5");
    QTest::newRow("21") << Temperature(21.0) << QStringLiteral(" 21");
    QTest::newRow("10") << Temperature(10.0) << QStringLiteral(" 10");
    QTest::newRow("100") << Temperature(100.0) << QStringLiteral(" 100");
    QTest::newRow("1") << Temperature(1.0) << QStringLiteral(" 1");
    QTest::newRow("0") << Temperature(0.0) << QStringLiteral(" 0");
    QTest::newRow("no value") << Temperature() << QStringLiteral(" 0");
    QTest::newRow("-.3") << Temperature(-0.3) << QStringLiteral("-.3");
    QTest::newRow("-1") << Temperature(-1.0) << QStringLiteral("-1");
    QTest::newRow("-10.4") << Temperature(-10.4) << QStringLiteral("-10.4");
}

void TestProtocol::numberText()
{
    QFETCH(Temperature, value);
    QFETCH(QString, text);
    QCOMPARE(protocol::numberText(value), text);
}

void TestProtocol::wakeUp_data()
{
    QTest::addColumn<QList<qint16>>("answers");
    QTest::addColumn<int>("pings");

    QTest::newRow("first ping answers") << QList<qint16>{7} << 1;
    QTest::newRow("first ping answers 0") << QList<qint16>{0} << 1;
    QTest::newRow("second ping answers") << QList<qint16>{-1, 255} << 2;
    QTest::newRow("third ping answers") << QList<qint16>{-1, -1, 3} << 3;
    QTest::newRow("silence") << QList<qint16>{} << 3;
}

void TestProtocol::wakeUp()
{
    QFETCH(QList<qint16>, answers);
    QFETCH(int, pings);
    ScriptedModule port;
    port.answers = answers;
    // Anything after the last scripted answer would find the device answering.
    port.defaultAnswer = answers.isEmpty() ? qint16(-1) : qint16(42);

    protocol::WakeUp(port);

    QStringList expected = {QStringLiteral("RTS 0"), QStringLiteral("DELAY 50"),
                            QStringLiteral("RTS 1"), QStringLiteral("DELAY 200")};
    for (int ping = 0; ping < pings; ++ping) {
        const int answer = ping < answers.size() ? answers.at(ping) : -1;
        expected << QStringLiteral("SENDBYTE 1") << QStringLiteral("DELAY 10")
                 << QStringLiteral("READBYTE -> %1").arg(answer);
    }
    QCOMPARE(port.calls, expected);
}

QTEST_MAIN(TestProtocol)
#include "tst_protocol.moc"
