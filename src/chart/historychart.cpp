#include "historychart.h"

#include "course.h"
#include "timeaxis.h"
#include "ui/contrast.h"

#include <QDateTime>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The shortest span drawn, so that the first readings do not stretch across the whole width.
constexpr qint64 ShortestSpan = 60;
constexpr int TickSpacing = 90;
constexpr int ValueSpacing = 36;
const QString Degrees = QStringLiteral(" °C");

// Text lines at an anchor: drawn by their baselines, since QPainter's laid-out drawText() costs
// a large chart a good part of its time.
void drawLines(QPainter &painter, const QFontMetrics &metrics, QPoint anchor, const QString &text,
               Qt::Alignment alignment, int right)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    int y = anchor.y() + metrics.ascent();
    if (alignment & Qt::AlignVCenter)
        y -= metrics.height() * int(lines.size()) / 2;
    else if (alignment & Qt::AlignBottom)
        y -= metrics.height() * int(lines.size());
    for (const QString &line : lines) {
        int x = anchor.x();
        if (alignment & Qt::AlignHCenter) {
            // Kept whole inside the chart.
            const int advance = metrics.horizontalAdvance(line);
            x = qBound(0, x - advance / 2, right - advance);
        } else if (alignment & Qt::AlignRight)
            x -= metrics.horizontalAdvance(line);
        painter.drawText(x, y, line);
        y += metrics.height();
    }
}

QString stampText(qint64 time, const QTimeZone &zone)
{
    return QDateTime::fromSecsSinceEpoch(time, zone).toString(u"dd.MM.yyyy HH:mm:ss");
}

} // namespace

struct HistoryChart::Colours
{
    QColor background;
    QColor text;
    QColor grid;
    QColor line;
    QColor lowest;
    QColor highest;
};

HistoryChart::HistoryChart(const ReadingHistory &history, QWidget *parent)
    : QWidget(parent), m_history(history)
{
    setMouseTracking(true);
    setMinimumSize(480, 240);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void HistoryChart::refresh()
{
    update();
    if (m_pointerX >= 0)
        emit pointed(pointerText(m_pointerX));
}

void HistoryChart::setSpan(qint64 seconds)
{
    m_span = seconds;
    update();
}

void HistoryChart::setTimeZone(const QTimeZone &zone)
{
    m_zone = zone;
    update();
}

QImage HistoryChart::image() const
{
    QImage image(size() * devicePixelRatio(), QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio());
    QPainter painter(&image);
    paint(painter, false);
    return image;
}

QRect HistoryChart::plotArea() const
{
    const QFontMetrics metrics = fontMetrics();
    const int left = metrics.horizontalAdvance(QStringLiteral("-00,0")) + 12;
    // Room for the unit above the highest value's label, which is centred on the top edge.
    const int top = 2 * metrics.height() + 4;
    const int bottom = 2 * metrics.height() + 8;
    return QRect(left, top, width() - left - 16, height() - top - bottom);
}

std::pair<qint64, qint64> HistoryChart::timeRange() const
{
    if (m_history.isEmpty())
        return {0, 0};
    const qint64 last = m_history.time(m_history.size() - 1);
    qint64 first = m_history.time(0);
    if (m_span > 0)
        first = qMax(first, last - m_span);
    return {qMin(first, last - ShortestSpan), last};
}

HistoryChart::Colours HistoryChart::colours() const
{
    const QColor background = palette().color(QPalette::Base);
    const QColor text = palette().color(QPalette::Text);
    const bool dark = background.lightness() < 128;
    // Lines and marks need 3 : 1 against what they are drawn on; the preferred colours have it
    // on the usual light and dark backgrounds, and give way toward the text colour on others.
    const auto readable = [&](QColor light, QColor darkBackground) {
        return readableColour(dark ? darkBackground : light, text, background, 3.0);
    };
    // Opaque: blended lines would cost a large chart several milliseconds.
    const auto mix = [](const QColor &a, const QColor &b, double share) {
        return QColor::fromRgbF(float(a.redF() * (1 - share) + b.redF() * share),
                                float(a.greenF() * (1 - share) + b.greenF() * share),
                                float(a.blueF() * (1 - share) + b.blueF() * share));
    };
    const QColor grid = mix(background, text, 0.18);
    return {background,
            text,
            grid,
            readable(QColor(0x1f, 0x5f, 0xbf), QColor(0x7c, 0xb8, 0xff)),
            readable(QColor(0x00, 0x6d, 0x8f), QColor(0x5f, 0xd3, 0xf5)),
            readable(QColor(0xc0, 0x2a, 0x1e), QColor(0xff, 0x8a, 0x70))};
}

void HistoryChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, true);
}

void HistoryChart::paint(QPainter &painter, bool withPointer) const
{
    const Colours colour = colours();
    painter.fillRect(rect(), colour.background);
    painter.setPen(colour.text);
    const QRect plot = plotArea();
    if (m_history.isEmpty() || plot.width() < 2 || plot.height() < 2) {
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Noch keine Messwerte"));
        return;
    }
    const auto [from, to] = timeRange();
    const course::Course course = course::decimate(m_history, from, to, plot.width());
    const QFontMetrics metrics = fontMetrics();

    // The value axis: the span's extremes with a little room, at least a degree.
    int low = 0;
    int high = 10;
    if (course.minimumIndex >= 0) {
        low = m_history.tenths(course.minimumIndex);
        high = m_history.tenths(course.maximumIndex);
    }
    const int room = qMax(5, (high - low) / 10);
    low -= room;
    high += room;
    const auto yOf = [&](int tenths) {
        return plot.bottom() - double(tenths - low) * (plot.height() - 1) / (high - low);
    };
    const auto xOf = [&](qint64 time) {
        return plot.left() + 0.5 +
               double(course::columnOf(time, from, qMax<qint64>(1, to - from), plot.width()));
    };

    drawLines(painter, metrics, QPoint(plot.left() - 6, plot.top() - metrics.height() / 2 - 2),
              Degrees.trimmed(), Qt::AlignRight | Qt::AlignBottom, width());
    const QList<int> values = timeaxis::valueTicks(low, high, plot.height(), ValueSpacing);
    const bool wholeDegrees = values.size() < 2 || (values[1] - values[0]) % 10 == 0;
    for (const int value : values) {
        const int y = qRound(yOf(value));
        painter.setPen(colour.grid);
        painter.drawLine(plot.left(), y, plot.right(), y);
        painter.setPen(colour.text);
        const QString text = wholeDegrees ? QString::number(value / 10) : course::tenthsText(value);
        drawLines(painter, metrics, QPoint(plot.left() - 6, y), text,
                  Qt::AlignRight | Qt::AlignVCenter, width());
    }
    for (const timeaxis::Tick &tick :
         timeaxis::timeTicks(from, to, plot.width(), TickSpacing, m_zone)) {
        const int x = int(xOf(tick.secsSinceEpoch));
        painter.setPen(colour.grid);
        painter.drawLine(x, plot.top(), x, plot.bottom());
        painter.setPen(colour.text);
        const QString text = tick.time.isEmpty()   ? tick.date
                             : tick.date.isEmpty() ? tick.time
                                                   : tick.time + QLatin1Char('\n') + tick.date;
        drawLines(painter, metrics, QPoint(x, plot.bottom() + 4), text,
                  Qt::AlignHCenter | Qt::AlignTop, width());
    }
    painter.setPen(colour.text);
    painter.drawRect(plot.adjusted(0, 0, -1, -1));

    // Each column a vertical stroke from its lowest to its highest reading; a column joined to
    // the one before gets the line from where that one left off.
    // Each column a vertical stroke through its readings' extremes; a column joined to the one
    // before continues its polyline, a gap starts a new one.
    QList<QPolygonF> runs;
    for (qsizetype column = 0; column < course.columns.size(); ++column) {
        const course::Column &c = course.columns[column];
        if (c.isEmpty())
            continue;
        if (!c.joined || runs.isEmpty())
            runs.append(QPolygonF());
        const qreal x = plot.left() + column + 0.5;
        QPolygonF &run = runs.last();
        run << QPointF(x, yOf(c.first));
        if (c.minimum != c.maximum)
            run << QPointF(x, yOf(c.minimum)) << QPointF(x, yOf(c.maximum));
        run << QPointF(x, yOf(c.last));
    }
    painter.save();
    painter.setClipRect(plot);
    painter.setRenderHint(QPainter::Antialiasing);
    // One pixel wide: the raster engine's fast path for lines, several times quicker than any
    // wider pen with a week of columns.
    painter.setPen(QPen(colour.line, 0));
    for (QPolygonF &run : runs) {
        // A lone reading still shows as a dot.
        if (run.size() == 1)
            run << run.first() + QPointF(0, 0.01);
        painter.drawPolyline(run);
    }
    painter.restore();

    // The extremes: a dot on the reading and its value and time beside it, inside the plot.
    const bool withDate = timeaxis::crossesMidnight(from, to, m_zone);
    const auto mark = [&](qsizetype index, const QString &caption, const QColor &markColour,
                          bool above) {
        if (index < 0)
            return;
        const qint64 time = m_history.time(index);
        const QPointF at(xOf(time), yOf(m_history.tenths(index)));
        const QDateTime local = QDateTime::fromSecsSinceEpoch(time, m_zone);
        const QString clock = local.toString(to - from <= 3600 ? u"HH:mm:ss" : u"HH:mm");
        const QString text =
            caption + course::tenthsText(m_history.tenths(index)) + Degrees + QStringLiteral(", ") +
            (withDate ? timeaxis::dayText(local.date()) + QLatin1Char(' ') : QString()) + clock;
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(markColour);
        painter.drawEllipse(at, 3.5, 3.5);
        QRect box(0, 0, metrics.horizontalAdvance(text) + 4, metrics.height());
        box.moveCenter(at.toPoint());
        box.moveTop(above ? int(at.y()) - box.height() - 5 : int(at.y()) + 5);
        box.moveLeft(qBound(plot.left() + 2, box.left(), plot.right() - box.width() - 2));
        box.moveTop(qBound(plot.top() + 2, box.top(), plot.bottom() - box.height() - 2));
        painter.setPen(markColour);
        drawLines(painter, metrics, box.topLeft() + QPoint(2, 0), text,
                  Qt::AlignLeft | Qt::AlignTop, width());
    };
    mark(course.maximumIndex, QStringLiteral("Max "), colour.highest, true);
    mark(course.minimumIndex, QStringLiteral("Min "), colour.lowest, false);
    if (course.minimumIndex < 0) {
        painter.setPen(colour.text);
        painter.drawText(plot, Qt::AlignCenter,
                         QStringLiteral("Keine Messwerte in diesem Zeitraum"));
    }

    if (withPointer && m_pointerX >= plot.left() && m_pointerX <= plot.right()) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        QColor pointer = colour.text;
        pointer.setAlphaF(0.5f);
        painter.setPen(QPen(pointer, 1, Qt::DashLine));
        painter.drawLine(m_pointerX, plot.top(), m_pointerX, plot.bottom());
    }
}

QString HistoryChart::pointerText(int x) const
{
    const QRect plot = plotArea();
    if (m_history.isEmpty() || x < plot.left() || x > plot.right())
        return QString();
    const auto [from, to] = timeRange();
    const double secondsPerPixel = double(to - from) / qMax(1, plot.width() - 1);
    const qint64 time = from + std::llround((x - plot.left()) * secondsPerPixel);
    // The nearest reading, if it lies within the pixel or the time between two ticks.
    qsizetype index = m_history.lowerBound(time);
    if (index == m_history.size() ||
        (index > 0 && time - m_history.time(index - 1) < m_history.time(index) - time))
        --index;
    const qint64 reach = qMax<qint64>(course::GapSeconds / 2, std::llround(secondsPerPixel));
    if (std::abs(m_history.time(index) - time) > reach ||
        m_history.tenths(index) == ReadingHistory::NoValue)
        return stampText(time, m_zone) + QStringLiteral("  kein Messwert");
    return stampText(m_history.time(index), m_zone) + QStringLiteral("  ") +
           course::tenthsText(m_history.tenths(index)) + Degrees;
}

void HistoryChart::mouseMoveEvent(QMouseEvent *event)
{
    m_pointerX = event->position().toPoint().x();
    update();
    emit pointed(pointerText(m_pointerX));
}

void HistoryChart::leaveEvent(QEvent *)
{
    m_pointerX = -1;
    update();
    emit pointed(QString());
}

void HistoryChart::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}
