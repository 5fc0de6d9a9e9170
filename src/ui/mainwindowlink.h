#pragma once

#include <QObject>
#include <QString>

#include <functional>

// What the windows the main window opens may ask of it: its readings as shown, and to come to the
// front. The main window makes the link and connects to it; the others never look it up.
class MainWindowLink final : public QObject
{
    Q_OBJECT

public:
    struct Readings
    {
        QString current;
        QString minimum;
        QString maximum;
    };

    MainWindowLink(std::function<Readings()> readings, QObject *parent);

    Readings readings() const { return m_readings(); }
    // Asks the main window to come to the front.
    void requestShow() { Q_EMIT showRequested(); }

Q_SIGNALS:
    void showRequested();

private:
    const std::function<Readings()> m_readings;
};
