#include "protocol.h"

#include "seriallink.h"

#include <QString>

#include <cmath>

namespace protocol {

namespace {

// Thermistor of 10 kOhm at 298 K with B = 4300 K, against a fixed 10 kOhm resistor; the
// converter's full scale is 255 steps.
constexpr double BetaKelvin = 4300.0;
constexpr double ReferenceKelvin = 298.0;
constexpr double ZeroCelsiusKelvin = 273.0;
constexpr double MinimumResistance = 0.1;
constexpr int PingAttempts = 3;

double floorToTenth(double value)
{
    return std::floor(value * 10) / 10;
}

} // namespace

Temperature temperatureFromAnswer(int answer)
{
    if (answer <= 0)
        return std::nullopt;
    // The subtraction stays in integers, the division does not: the order matters for the
    // rounding of the result.
    double resistance = static_cast<double>(2550 - 10 * answer) / answer;
    if (resistance < MinimumResistance)
        resistance = MinimumResistance;
    const double kelvinInverse = std::log(resistance / 10) / BetaKelvin + 1 / ReferenceKelvin;
    return floorToTenth(1 / kelvinInverse - ZeroCelsiusKelvin);
}

double voltageFromAnswer(int answer)
{
    const double volts = static_cast<double>(answer) / 10 + 0.4;
    return floorToTenth(volts);
}

void wakeUp(SerialLink &port)
{
    port.setRts(0);
    port.delay(50);
    port.setRts(1);
    port.delay(200);
    for (int attempt = 0; attempt < PingAttempts; ++attempt) {
        port.sendByte(CommandPing);
        port.delay(10);
        if (port.readByte() != -1)
            return;
    }
}

qint16 ask(SerialLink &port, int command)
{
    port.sendByte(command);
    return port.readByte();
}

bool answersAgree(std::initializer_list<qint16> answers)
{
    qint16 lowest = 255;
    qint16 highest = 0;
    for (const qint16 answer : answers) {
        if (answer == NoAnswer)
            continue;
        lowest = qMin(lowest, answer);
        highest = qMax(highest, answer);
    }
    return highest - lowest <= 1;
}

bool allEchoed(std::initializer_list<std::pair<int, qint16>> exchanges)
{
    bool any = false;
    for (const auto &[command, answer] : exchanges) {
        if (answer == NoAnswer)
            continue;
        if (answer != command)
            return false;
        any = true;
    }
    return any;
}

bool echoesProbe(SerialLink &port)
{
    const bool echoed = ask(port, EchoProbe) == EchoProbe;
    // Noise around the probe proves nothing; the answers before it stay unexplained, so the port
    // counts as no device's.
    return !port.confirmAnswers() || echoed;
}

QString numberText(Temperature value)
{
    const double number = value.value_or(0.0);
    // Readings are whole tenths; rounding the tenths count keeps 25.1 from printing as 25.09.
    const long long tenths = std::llround(std::fabs(number) * 10);
    const long long whole = tenths / 10;
    const long long fraction = tenths % 10;

    QString text(number < 0 && tenths != 0 ? QLatin1Char('-') : QLatin1Char(' '));
    if (whole != 0 || fraction == 0)
        text += QString::number(whole);
    if (fraction != 0)
        text += QLatin1Char('.') + QString::number(fraction);
    return text;
}

QString temperatureText(Temperature value)
{
    QString text = numberText(value);
    if (text.startsWith(QLatin1Char(' ')))
        text.remove(0, 1);
    return text + QStringLiteral(" °C");
}

Temperature temperatureFromText(const QString &text)
{
    static const QString unit = QStringLiteral(" °C");
    if (!text.endsWith(unit))
        return std::nullopt;
    const QString number = text.chopped(unit.size());
    if (number.isEmpty() || number.contains(QLatin1Char(' ')))
        return std::nullopt;
    bool ok = false;
    // QString::toDouble reads the C locale whatever the user's settings, as the texts are
    // written; it also accepts ".5" and "-.3".
    const double value = number.toDouble(&ok);
    if (!ok || value == 0.0)
        return std::nullopt;
    return value;
}

} // namespace protocol
