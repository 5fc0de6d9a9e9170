#include "devicemodel.h"

#include "device/protocol.h"

#include <algorithm>
#include <cmath>

namespace devsim {

namespace {

constexpr int LowestConverterByte = 1;
constexpr int HighestByte = 255;
constexpr double BatteryOffsetVolts = 0.4;

} // namespace

int converterByteFor(double celsius)
{
    int best = LowestConverterByte;
    double bestDistance = INFINITY;
    for (int byte = LowestConverterByte; byte <= HighestByte; ++byte) {
        const double distance = std::fabs(*protocol::temperatureFromAnswer(byte) - celsius);
        // Strictly nearer only, so that ties keep the lower byte.
        if (distance < bestDistance) {
            best = byte;
            bestDistance = distance;
        }
    }
    return best;
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
    case protocol::CommandPing:
        return m_pingByte;
    case protocol::CommandBattery:
        return m_batteryByte;
    case protocol::CommandTemperature:
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
