#include "eventlabel.h"

#include <QMouseEvent>

EventLabel::EventLabel(QWidget *parent) : QLabel(parent)
{
    setMouseTracking(true);
}

void EventLabel::mousePressEvent(QMouseEvent *event)
{
    event->setAccepted(event->button() == Qt::LeftButton);
}

void EventLabel::mouseReleaseEvent(QMouseEvent *event)
{
    // Like a button: the click counts only when the pointer is still on the label.
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    if (rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void EventLabel::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT mouseMoved();
}
