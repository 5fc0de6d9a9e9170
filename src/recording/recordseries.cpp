#include "recordseries.h"

#include <QDir>

#include <cmath>
#include <cstdlib>

namespace {

// Whole tenths with a decimal comma: "21,5", "-0,3", "4,0".
void appendTenths(QByteArray &line, double value)
{
    const long long tenths = std::llround(value * 10);
    if (tenths < 0)
        line += '-';
    line += QByteArray::number(std::llabs(tenths) / 10);
    line += ',';
    line += char('0' + std::llabs(tenths) % 10);
}

void appendDigits(QByteArray &line, int value, int digits)
{
    char text[8];
    for (int i = digits - 1; i >= 0; --i, value /= 10)
        text[i] = char('0' + value % 10);
    line.append(text, digits);
}

} // namespace

RecordSeries::RecordSeries(const QString &folder) : m_folder(folder) {}

QString RecordSeries::fileName(QDate date)
{
    return QStringLiteral("warmlog-") + date.toString(u"yyyy-MM-dd") + QStringLiteral(".csv");
}

QByteArray RecordSeries::fileStart()
{
    return QByteArrayLiteral("\xEF\xBB\xBF") +
           QStringLiteral("Zeit;UTC-Versatz;Temperatur (°C);Batterie (V);Laden\r\n").toUtf8();
}

QByteArray RecordSeries::recordLine(const QDateTime &time, std::optional<double> temperature,
                                    std::optional<double> volts, bool charging)
{
    // Put together by hand: this runs on every tick, and QDateTime's formatting costs more.
    const QDate date = time.date();
    const QTime clock = time.time();
    const int offset = time.offsetFromUtc() / 60;
    QByteArray line;
    line.reserve(48);
    appendDigits(line, date.year(), 4);
    line += '-';
    appendDigits(line, date.month(), 2);
    line += '-';
    appendDigits(line, date.day(), 2);
    line += ' ';
    appendDigits(line, clock.hour(), 2);
    line += ':';
    appendDigits(line, clock.minute(), 2);
    line += ':';
    appendDigits(line, clock.second(), 2);
    line += offset < 0 ? ";-" : ";+";
    appendDigits(line, std::abs(offset) / 60, 2);
    line += ':';
    appendDigits(line, std::abs(offset) % 60, 2);
    line += ';';
    if (temperature)
        appendTenths(line, *temperature);
    line += ';';
    if (volts)
        appendTenths(line, *volts);
    line += charging ? ";ja\r\n" : ";nein\r\n";
    return line;
}

void RecordSeries::append(const QDateTime &time, std::optional<double> temperature,
                          std::optional<double> volts, bool charging)
{
    // The oldest records give way: a folder that fails for more than a day loses the start of
    // the gap rather than the memory.
    if (waiting() == MostWaiting)
        m_waiting.pop_front();
    m_waiting.push_back({time.date(), recordLine(time, temperature, volts, charging)});
    writeWaiting(time);
}

void RecordSeries::writeWaiting(const QDateTime &now)
{
    while (!m_waiting.empty()) {
        const QDate date = m_waiting.front().date;
        if (!m_file.isOpen() || date != m_fileDate) {
            m_failure = m_file.open(QDir(m_folder).filePath(fileName(date)));
            if (m_failure != RecordFile::Failure::None)
                return;
            m_fileDate = date;
            m_synced = now;
        }
        auto end = m_waiting.begin();
        QByteArray bytes = m_file.isEmpty() ? fileStart() : QByteArray();
        for (; end != m_waiting.end() && end->date == date; ++end)
            bytes += end->line;
        m_failure = m_file.append(bytes);
        if (m_failure != RecordFile::Failure::None) {
            // Opened again on the next tick, which finds a folder that came back.
            m_file.close();
            return;
        }
        m_waiting.erase(m_waiting.begin(), end);
    }
    // Either way round: a clock set back must not put the sync off.
    if (std::abs(m_synced.secsTo(now)) >= SyncSeconds) {
        m_file.sync();
        m_synced = now;
    }
}
