#pragma once

#include <QFont>

// The font the windows were laid out for in twips. Where it is missing, a face of Arial's metrics
// keeps the captions inside their controls better than a wide default.
inline QFont designFont(qreal pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}
