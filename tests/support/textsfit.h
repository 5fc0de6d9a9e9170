#pragma once

#include <QtWidgets>

#include <cmath>

// Every text a control of the window cuts, and every disabled display field whose text shows from
// its end or reads faintly. fixed gets the window's fixed texts, sorted: title, labels, buttons,
// frames.
inline QStringList cutTexts(QWidget *window, QStringList *fixed)
{
    const auto luminance = [](const QColor &colour) { // WCAG's relative luminance
        const auto linear = [](double c) {
            return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
               0.0722 * linear(colour.blueF());
    };
    QStringList cut;
    *fixed = QStringList{window->windowTitle()};
    for (QWidget *control : window->findChildren<QWidget *>()) {
        const bool frame = control->inherits("QGroupBox");
        const QString text = control->property(frame ? "title" : "text").toString();
        QRect room = frame ? control->rect().adjusted(8, 0, -8, 0) : control->contentsRect();
        QStyle *style = control->style();
        if (auto *box = qobject_cast<QLineEdit *>(control)) {
            QStyleOptionFrame option;
            option.initFrom(box);
            option.lineWidth =
                box->hasFrame() ? style->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
            room = style->subElementRect(QStyle::SE_LineEditContents, &option, box)
                       .adjusted(2, 0, -2, 0); // QLineEdit's own margin
            const double light =
                luminance(box->palette().color(QPalette::Disabled, QPalette::Base));
            const double dark = luminance(box->palette().color(QPalette::Disabled, QPalette::Text));
            if (!box->isEnabled() && (qMax(light, dark) + 0.05) / (qMin(light, dark) + 0.05) < 4.5)
                cut << box->objectName() + QStringLiteral(" faint");
            if (!box->isEnabled() && box->cursorPosition() != 0)
                cut << box->objectName() + QStringLiteral(" shows its end");
        } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
            QStyleOptionButton option;
            option.initFrom(button);
            room = style->subElementRect(qobject_cast<QRadioButton *>(button)
                                             ? QStyle::SE_RadioButtonContents
                                             : QStyle::SE_PushButtonContents,
                                         &option, button);
            *fixed << text;
        } else if (frame || control->inherits("QLabel")) {
            *fixed << text;
        } else {
            continue;
        }
        const QFontMetrics metrics = control->fontMetrics();
        if (!text.isEmpty() && control->isVisibleTo(window) &&
            (metrics.size(Qt::TextShowMnemonic, text).width() > room.width() ||
             metrics.height() > room.height()))
            cut << control->objectName() + QStringLiteral(": ") + text;
    }
    fixed->sort();
    return cut;
}
