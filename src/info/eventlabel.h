#pragma once

#include <QLabel>

// A label that reports clicks and pointer moves, for the link labels and the picture's hot spot.
// It keeps the moves it reports to itself, so the window behind sees only moves over its own
// background.
class EventLabel : public QLabel
{
    Q_OBJECT

public:
    explicit EventLabel(QWidget *parent = nullptr);

Q_SIGNALS:
    void clicked();
    void mouseMoved();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
};
