#pragma once

#include <QList>
#include <QObject>
#include <QString>

// One serial port the system knows: its name ("ttyUSB0", "COM5") and what the driver says it
// is ("FT232R USB UART"), empty when it says nothing.
struct SerialPortName
{
    QString systemName;
    QString description;

    bool operator==(const SerialPortName &other) const
    {
        return systemName == other.systemName && description == other.description;
    }
};

// The serial ports of this machine. ports() answers at once with what was read last; refresh()
// asks for a new reading, and changed() tells when it differs.
class PortList : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    virtual QList<SerialPortName> ports() const = 0;
    virtual void refresh() {}
    // Waits for a reading under way, so that ports() gives what it found.
    virtual void waitForReading() {}

Q_SIGNALS:
    void changed();
};

// Reads the system's ports in a thread of its own: asking the drivers takes several
// milliseconds a port, and a menu waiting for that would not open at once.
class SystemPortList final : public PortList
{
    Q_OBJECT

public:
    explicit SystemPortList(QObject *parent = nullptr);
    ~SystemPortList() override;

    QList<SerialPortName> ports() const override;
    void refresh() override;
    void waitForReading() override;

    // Qt reads some drivers' texts as Latin-1; a text that is UTF-8 read so is decoded again.
    static QString systemText(const QString &text);
    // Whether name a comes before b with numbers read as numbers: COM5 before COM10.
    static bool naturalLess(const QString &a, const QString &b);

private:
    void finished(const QList<SerialPortName> &read);

    QList<SerialPortName> m_ports;
    QThread *m_reader = nullptr;
    bool m_again = false;
};
