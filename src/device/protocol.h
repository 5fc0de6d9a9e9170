#pragma once

#include <optional>

class Module1;
class QString;

// The device answers single command bytes with single bytes. These functions speak that protocol
// over whatever port the library has open, and turn answers into readings and readings into the
// texts the windows show.
namespace protocol {

constexpr int CommandPing = 1;
constexpr int CommandTemperature = 22;
constexpr int CommandBattery = 25;

// Degrees Celsius, a multiple of 0.1; empty when the device answered 0 or nothing.
using Temperature = std::optional<double>;

Temperature temperatureFromAnswer(int answer);
double voltageFromAnswer(int answer);

void WakeUp(Module1 &port);
Temperature ReadTemp(Module1 &port);
double ReadUbat(Module1 &port);

// " 21.5", "-.3", " 0" for no value: leading blank for numbers that are not negative, a point
// whatever the locale, no digit before the point between -1 and 1, no trailing zero.
QString numberText(Temperature value);
// "21.5 °C", ".1 °C", "0 °C" for no value.
QString temperatureText(Temperature value);
// The reading a temperature text shows, or empty for anything else (the start-up hyphens) and
// for "0 °C", which no answer of the device converts to and so only stands for no value.
Temperature temperatureFromText(const QString &text);

} // namespace protocol
