#include "devicemodel.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace devsim {

namespace {

constexpr int HighestByte = 255;
constexpr double BatteryOffsetVolts = 0.4;

// The sensor's curve from its data sheet: a converter byte and the temperature it stands for, in
// tenths of a degree. The simulator keeps its own table rather than the program's conversion, so
// that a wrong constant there shows in every test that reads the simulator through the program.
struct CurvePoint
{
    int byte;
    int tenths;
};
constexpr CurvePoint Curve[] = {
    {1, -577},  {4, -415},   {8, -323},   {12, -265},  {16, -221},  {24, -155},  {32, -104},
    {40, -62},  {48, -25},   {56, 9},     {64, 40},    {80, 96},    {96, 149},   {112, 200},
    {128, 251}, {144, 304},  {160, 361},  {176, 425},  {192, 499},  {208, 592},  {224, 723},
    {236, 880}, {244, 1065}, {248, 1228}, {250, 1358}, {252, 1570}, {253, 1646},
};

} // namespace

int converterByteFor(double celsius)
{
    const double tenths = celsius * 10;
    if (tenths <= Curve[0].tenths)
        return Curve[0].byte;
    for (std::size_t i = 1; i < std::size(Curve); ++i) {
        const CurvePoint &low = Curve[i - 1];
        const CurvePoint &high = Curve[i];
        if (tenths <= high.tenths) {
            const double share = (tenths - low.tenths) / (high.tenths - low.tenths);
            return static_cast<int>(std::lround(low.byte + share * (high.byte - low.byte)));
        }
    }
    return Curve[std::size(Curve) - 1].byte;
}

int batteryByteFor(double volts)
{
    const double byte = std::round((volts - BatteryOffsetVolts) * 10);
    return static_cast<int>(std::clamp(byte, 0.0, static_cast<double>(HighestByte)));
}

double triangleWave(double low, double high, double periodSeconds, double elapsedSeconds)
{
    const double phase = std::fmod(elapsedSeconds, periodSeconds) / periodSeconds;
    const double rise = phase < 0.5 ? 2 * phase : 2 * (1 - phase);
    return low + (high - low) * rise;
}

void DeviceModel::setTemperature(double celsius)
{
    setTemperatureByte(converterByteFor(celsius));
}

void DeviceModel::setTemperatureByte(int byte)
{
    m_temperatureByte = byte;
    m_drift.reset();
}

void DeviceModel::startDrift(double low, double high, double periodSeconds, Clock::time_point start)
{
    m_drift = Drift{low, high, periodSeconds, start};
}

std::optional<int> DeviceModel::answer(int command, Clock::time_point now) const
{
    if (m_silent)
        return std::nullopt;
    switch (command) {
    case CommandPing:
        return m_pingByte;
    case CommandBattery:
        return m_batteryByte;
    case CommandTemperature:
        if (m_drift) {
            const std::chrono::duration<double> elapsed = now - m_drift->start;
            return converterByteFor(
                triangleWave(m_drift->low, m_drift->high, m_drift->periodSeconds, elapsed.count()));
        }
        return m_temperatureByte;
    default:
        return std::nullopt;
    }
}

} // namespace devsim
