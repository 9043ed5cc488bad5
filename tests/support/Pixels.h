#pragma once
// Counting the pixels of a rendered widget that pass a test.
#include <QColor>
#include <QImage>
#include <QRect>
#include <functional>

inline int ContaPixels(const QImage& image, const QRect& area, const std::function<bool(const QColor&)>& teste)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += teste(image.pixelColor(x, y)) ? 1 : 0;
    return n;
}

inline int ContaPixels(const QImage& image, const std::function<bool(const QColor&)>& teste)
{
    return ContaPixels(image, image.rect(), teste);
}
