#pragma once

#include <QWidget>

class HistoryChart;
class QLabel;
class ReadingHistory;
struct Platform;

// "Verlauf": the course of the temperature, with the span to show and the picture to save. It
// draws from the main window's readings and is told of each new one.
class HistoryWindow : public QWidget
{
    Q_OBJECT

public:
    HistoryWindow(const ReadingHistory &history, const Platform &platform);

    HistoryChart *chart() const { return m_chart; }
    // After a new reading: the line follows it.
    void refresh();
    // Writes the chart as a PNG file; false, after saying so, when it cannot.
    bool saveImage(const QString &fileName);

private:
    void chooseImageFile();

    const Platform &m_platform;
    HistoryChart *m_chart = nullptr;
    QLabel *m_pointerText = nullptr;
};
