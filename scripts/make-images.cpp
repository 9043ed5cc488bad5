// Draws the pictures of the cancellation window (button pictures, one normal
// and one disabled each, and the three check-column icons) into client/images.
// Run through scripts/make-images; the PNGs are kept in the tree as resources.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cstdio>
#include <functional>

namespace {

const QColor kOlive(128, 128, 0); // the check icons' transparent colour
const QColor kFrame(204, 91, 44);
const QColor kDisabledGlyph(255, 255, 255, 150);

using Drawing = std::function<void(QPainter&, const QColor&)>;

bool save(const QImage& image, const QString& dir, const QString& name)
{
    const QString path = dir + QLatin1Char('/') + name;
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

QImage draw(int size, const QColor& colour, const Drawing& drawing)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawing(p, colour);
    return image;
}

bool pair(const QString& dir, const QString& name, int size, const QColor& normal, const QColor& disabled,
          const Drawing& drawing)
{
    return save(draw(size, normal, drawing), dir, name + QStringLiteral(".png"))
        && save(draw(size, disabled, drawing), dir, name + QStringLiteral("_desab.png"));
}

// --- button pictures ---

void closeX(QPainter& p, const QColor& c)
{
    p.setPen(QPen(c, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 4), QPointF(16, 16));
    p.drawLine(QPointF(16, 4), QPointF(4, 16));
}

void eye(QPainter& p, const QColor& c)
{
    QPainterPath lid;
    lid.moveTo(2, 12);
    lid.quadTo(12, 2, 22, 12);
    lid.quadTo(12, 22, 2, 12);
    p.setPen(QPen(c, 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(lid);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(12, 12), 3.5, 3.5);
}

void cancelSign(QPainter& p, const QColor& c)
{
    p.setPen(QPen(c, 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(12, 12), 9, 9);
    p.setPen(QPen(c, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(16, 16));
    p.drawLine(QPointF(16, 8), QPointF(8, 16));
}

void triangle(QPainter& p, const QColor& c, bool up, qreal top)
{
    QPolygonF t;
    if (up)
        t << QPointF(14, top) << QPointF(24, top + 11) << QPointF(4, top + 11);
    else
        t << QPointF(4, top) << QPointF(24, top) << QPointF(14, top + 11);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(t);
}

void bar(QPainter& p, const QColor& c, qreal y)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRoundedRect(QRectF(4, y, 20, 3.5), 1, 1);
}

// --- check-column icons: opaque, olive where the cell shows through, no
// antialiasing so that no blended edge pixel escapes the transparent colour ---

QImage checkIcon(const QColor& border, const QColor& fill, const QColor& mark)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(kOlive);
    QPainter p(&image);
    p.setPen(border);
    p.setBrush(fill);
    p.drawRect(1, 1, 13, 13);
    if (mark.isValid()) {
        p.setPen(QPen(mark, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawPolyline(QPolygon({QPoint(4, 7), QPoint(6, 10), QPoint(11, 4)}));
    }
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("client/images");
    bool ok = true;
    ok &= pair(dir, QStringLiteral("sair"), 20, kFrame, QColor(204, 204, 204), closeX);
    ok &= pair(dir, QStringLiteral("prodcanc"), 24, Qt::white, kDisabledGlyph, eye);
    ok &= pair(dir, QStringLiteral("cancelar"), 24, Qt::white, kDisabledGlyph, cancelSign);
    ok &= pair(dir, QStringLiteral("primeiro"), 28, Qt::white, kDisabledGlyph, [](QPainter& p, const QColor& c) {
        bar(p, c, 6);
        triangle(p, c, true, 11);
    });
    ok &= pair(dir, QStringLiteral("rolarcima"), 28, Qt::white, kDisabledGlyph,
               [](QPainter& p, const QColor& c) { triangle(p, c, true, 8); });
    ok &= pair(dir, QStringLiteral("rolarbaixo"), 28, Qt::white, kDisabledGlyph,
               [](QPainter& p, const QColor& c) { triangle(p, c, false, 9); });
    ok &= pair(dir, QStringLiteral("ultimo"), 28, Qt::white, kDisabledGlyph, [](QPainter& p, const QColor& c) {
        triangle(p, c, false, 6);
        bar(p, c, 18.5);
    });
    ok &= save(checkIcon(Qt::black, Qt::white, QColor(0, 128, 0)), dir, QStringLiteral("check.png"));
    ok &= save(checkIcon(Qt::black, Qt::white, QColor()), dir, QStringLiteral("uncheck.png"));
    ok &= save(checkIcon(QColor(128, 128, 128), QColor(212, 212, 212), QColor(128, 128, 128)), dir,
               QStringLiteral("gray.png"));
    return ok ? 0 : 1;
}
