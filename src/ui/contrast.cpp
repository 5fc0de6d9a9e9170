#include "contrast.h"

#include <QColor>

#include <cmath>

namespace {

double luminance(const QColor &colour)
{
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

QColor mixed(const QColor &from, const QColor &to, double share)
{
    const auto channel = [share](int a, int b) { return qRound(a + (b - a) * share); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double first = luminance(a), second = luminance(b);
    return (qMax(first, second) + 0.05) / (qMin(first, second) + 0.05);
}

QColor readableColour(const QColor &preferred, const QColor &fallback, const QColor &background,
                      double ratio)
{
    constexpr int Steps = 20;
    for (int step = 0; step < Steps; ++step) {
        const QColor candidate = mixed(preferred, fallback, double(step) / Steps);
        if (contrastRatio(candidate, background) >= ratio)
            return candidate;
    }
    return fallback;
}
