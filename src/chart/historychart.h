#pragma once

#include <QTimeZone>
#include <QWidget>

class ReadingHistory;

// The course of the temperature as a line over time, drawn from a pixel column's extremes, with
// the lowest and highest reading of the span marked, and the time and value under the pointer.
// The span ends with the latest reading, so that the line follows new readings.
class HistoryChart : public QWidget
{
    Q_OBJECT

public:
    explicit HistoryChart(const ReadingHistory &history, QWidget *parent = nullptr);

    // After a new reading: the span moves with it, and so does the time under a resting pointer.
    void refresh();
    // The longest span shown, in seconds; 0 shows every reading held.
    void setSpan(qint64 seconds);
    qint64 span() const { return m_span; }
    // The local time of the labels; the system's unless a test sets another.
    void setTimeZone(const QTimeZone &zone);
    // The chart as it is shown, without the pointer's line.
    QImage image() const;
    // Where the readings are drawn, in the widget's pixels.
    QRect plotArea() const;
    // The times at the plot area's left and right edges; equal without a reading.
    std::pair<qint64, qint64> timeRange() const;

signals:
    // "07.12.2026 14:03:12  21,5 °C" for the reading under the pointer, "…  kein Messwert" where
    // none is near; empty off the chart.
    void pointed(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Colours;
    void paint(QPainter &painter, bool withPointer) const;
    Colours colours() const;
    QString pointerText(int x) const;

    const ReadingHistory &m_history;
    qint64 m_span = 3600;
    QTimeZone m_zone = QTimeZone::systemTimeZone();
    int m_pointerX = -1;
};
