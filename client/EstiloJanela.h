#pragma once
// The window's look shared by its parts: the frame and title colours, the font.
#include <QColor>

#include "EstiloCasa.h"

inline const QColor kCorTextoTitulo(Qt::white); // the column titles' text
inline const QColor kCinza(128, 128, 128); // buttons and the footer
inline const QColor kCinzaClaro(204, 204, 204); // a disabled button (13421772)
