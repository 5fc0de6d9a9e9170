#include "portlist.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QSerialPortInfo>
#include <QStringDecoder>
#include <QThread>

#include <algorithm>
#include <utility>

namespace {

QList<SerialPortName> readPorts()
{
    QList<SerialPortName> names;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        names.append({SystemPortList::systemText(info.portName()),
                      SystemPortList::systemText(info.description())});
    }
    std::sort(names.begin(), names.end(), [](const SerialPortName &a, const SerialPortName &b) {
        return SystemPortList::naturalLess(a.systemName, b.systemName);
    });
    return names;
}

} // namespace

SystemPortList::SystemPortList(QObject *parent) : PortList(parent)
{
    refresh();
}

SystemPortList::~SystemPortList()
{
    if (m_reader)
        m_reader->wait();
}

QList<SerialPortName> SystemPortList::ports() const
{
    return m_ports;
}

void SystemPortList::refresh()
{
    if (m_reader) {
        m_again = true;
        return;
    }
    m_reader = QThread::create([this] {
        const QList<SerialPortName> read = readPorts();
        QMetaObject::invokeMethod(
            this, [this, read] { finished(read); }, Qt::QueuedConnection);
    });
    connect(m_reader, &QThread::finished, m_reader, &QObject::deleteLater);
    m_reader->start();
}

void SystemPortList::waitForReading()
{
    if (!m_reader)
        return;
    m_reader->wait();
    // The result waits in this thread's queue; taking it now calls finished().
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void SystemPortList::finished(const QList<SerialPortName> &read)
{
    m_reader->wait();
    m_reader = nullptr;
    if (read != m_ports) {
        m_ports = read;
        Q_EMIT changed();
    }
    if (std::exchange(m_again, false))
        refresh();
}

QString SystemPortList::systemText(const QString &text)
{
    // A character beyond Latin-1 shows the text was not read as Latin-1.
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return text;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(text.toLatin1());
    return utf8.hasError() ? text : decoded;
}

bool SystemPortList::naturalLess(const QString &a, const QString &b)
{
    // The digits from start on, without leading zeros.
    const auto number = [](const QString &text, qsizetype &at) {
        while (at + 1 < text.size() && text[at] == u'0' && text[at + 1].isDigit())
            ++at;
        const qsizetype start = at;
        while (at < text.size() && text[at].isDigit())
            ++at;
        return QStringView(text).mid(start, at - start);
    };
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const QStringView numberA = number(a, i);
            const QStringView numberB = number(b, j);
            // The longer run of digits is the larger number.
            if (numberA.size() != numberB.size())
                return numberA.size() < numberB.size();
            if (numberA != numberB)
                return numberA < numberB;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}
