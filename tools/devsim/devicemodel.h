#pragma once

#include <chrono>
#include <optional>

namespace devsim {

using Clock = std::chrono::steady_clock;

// The command bytes the device answers.
constexpr int CommandPing = 1;
constexpr int CommandTemperature = 22;
constexpr int CommandBattery = 25;

// The byte the device sends when nobody asked for one.
constexpr int StrayByte = 0x55;

// The converter byte for a temperature, read off the sensor's curve between the points of its data
// sheet; 1 below the curve, 253 above it.
int converterByteFor(double celsius);
// round((volts - 0.4) * 10), clamped to 0..255.
int batteryByteFor(double volts);
// Starts at low, reaches high after half a period and is back at low after a whole one.
double triangleWave(double low, double high, double periodSeconds, double elapsedSeconds);

// What the device answers to each command byte; the terminal it answers on is not its concern.
class DeviceModel
{
public:
    // Both setters stop a drift.
    void setTemperature(double celsius);
    void setTemperatureByte(int byte);
    void setBatteryByte(int byte) { m_batteryByte = byte; }
    void setPingByte(int byte) { m_pingByte = byte; }
    void setSilent(bool silent) { m_silent = silent; }
    void startDrift(double low, double high, double periodSeconds, Clock::time_point start);
    // Back to the temperature set last.
    void stopDrift() { m_drift.reset(); }

    // Empty for bytes that are no command and while silent.
    std::optional<int> answer(int command, Clock::time_point now) const;

private:
    struct Drift
    {
        double low;
        double high;
        double periodSeconds;
        Clock::time_point start;
    };

    int m_temperatureByte = converterByteFor(21.5);
    int m_batteryByte = batteryByteFor(4.2);
    int m_pingByte = 1;
    bool m_silent = false;
    std::optional<Drift> m_drift;
};

} // namespace devsim
