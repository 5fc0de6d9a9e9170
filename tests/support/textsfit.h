#pragma once

#include "ui/contrast.h"

#include <QtWidgets>

// Every text a control of the window cuts, every label that reads faintly on its background, and
// every disabled display field whose text shows from its end or reads faintly. fixed gets the
// window's fixed texts, sorted: title, labels, buttons, frames.
inline QStringList cutTexts(QWidget *window, QStringList *fixed)
{
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
            const QPalette &colours = box->palette();
            if (!box->isEnabled() &&
                contrastRatio(colours.color(QPalette::Disabled, QPalette::Base),
                              colours.color(QPalette::Disabled, QPalette::Text)) < 4.5)
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
            QWidget *back = control; // what paints the label's background
            while (!back->autoFillBackground() && !back->isWindow())
                back = back->parentWidget();
            if (contrastRatio(control->palette().color(control->foregroundRole()),
                              back->palette().color(back->backgroundRole())) < 4.5)
                cut << control->objectName() + QStringLiteral(" faint");
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
