#pragma once

#include <QtGlobal>

#include <initializer_list>
#include <optional>
#include <utility>

class SerialLink;
class QString;

// The device answers single command bytes with single bytes. These functions speak that protocol
// over whatever port the library has open, and turn answers into readings and readings into the
// texts the windows show.
namespace protocol {

constexpr int CommandPing = 1;
constexpr int CommandTemperature = 22;
constexpr int CommandBattery = 25;
// No command of the device: sent only to a port whose every answer so far was the command itself,
// which a line that echoes returns and a device does not.
constexpr int EchoProbe = 0xA5;
constexpr qint16 NoAnswer = -1;

// Degrees Celsius, a multiple of 0.1; empty when the device answered 0 or nothing.
using Temperature = std::optional<double>;

Temperature temperatureFromAnswer(int answer);
double voltageFromAnswer(int answer);

void wakeUp(SerialLink &port);
// One exchange: the command, then the answer, NoAnswer for none.
qint16 ask(SerialLink &port, int command);
// The answers one tick gave to the same command agree when those that carry a value lie within
// one converter step of each other: between reads a few milliseconds apart a real change is at
// most one step, and anything more is another command's answer or noise.
bool answersAgree(std::initializer_list<qint16> answers);
// Every exchange was answered with its own command, as a line that echoes answers.
bool allEchoed(std::initializer_list<std::pair<int, qint16>> exchanges);
// Whether the port returns a byte that no device answers with: asked only when allEchoed().
bool echoesProbe(SerialLink &port);

// " 21.5", "-.3", " 0" for no value: leading blank for numbers that are not negative, a point
// whatever the locale, no digit before the point between -1 and 1, no trailing zero.
QString numberText(Temperature value);
// "21.5 °C", ".1 °C", "0 °C" for no value.
QString temperatureText(Temperature value);
// The reading a temperature text shows, or empty for anything else (the start-up hyphens) and
// for "0 °C", which no answer of the device converts to and so only stands for no value.
Temperature temperatureFromText(const QString &text);

} // namespace protocol
