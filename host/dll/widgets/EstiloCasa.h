#pragma once
// The house look every touch screen of the till and its packages shares: the
// frame colour and the font family.
#include <QColor>
#include <QFont>
#include <QString>

inline const QColor kCorMoldura(204, 91, 44); // frames, column titles, touch buttons (2907084)

inline QFont Arial(int pixels, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}
