#include "returnpress.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace {

class ReturnPress final : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || modifiers ||
            key->isAutoRepeat())
            return false;
        auto *button = static_cast<QAbstractButton *>(watched);
        if (button->isEnabled())
            button->animateClick();
        return true;
    }
};

} // namespace

void pressOnReturn(QAbstractButton *button)
{
    button->installEventFilter(new ReturnPress(button));
}

#include "returnpress.moc"
