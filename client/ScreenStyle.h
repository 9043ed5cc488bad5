#pragma once
// The window's look shared by its parts: the frame and title colours, the font.
#include <QColor>
#include <QFont>
#include <QString>

inline const QColor kCorMoldura(204, 91, 44); // the frame and the column titles' background (2907084)
inline const QColor kCorTextoTitulo(Qt::white); // the column titles' text
inline const QColor kCinza(128, 128, 128); // buttons and the footer
inline const QColor kCinzaClaro(204, 204, 204); // a disabled button (13421772)

inline QFont Arial(int pixels, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}
