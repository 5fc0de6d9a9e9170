#pragma once

#include <QFont>

// The faces that stand in for the font the windows were laid out for in twips.
enum class DesignFace {
    // Arial's metrics keep the small captions inside their controls better than a wide default.
    Regular,
    // The large readings and their captions: the original face is far narrower than Arial at
    // this size, and a 12-hour clock text must fit its field whole.
    Narrow,
};

inline QFont designFont(qreal pointSize, DesignFace face = DesignFace::Regular)
{
    QFont font;
    if (face == DesignFace::Narrow)
        font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans Narrow"),
                          QStringLiteral("Arial Narrow"), QStringLiteral("Nimbus Sans Narrow")});
    else
        font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"),
                          QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}
