#include "Shape.h"

#include <QPainter>

TShape::TShape(QWidget* parent) : QWidget(parent)
{
    // Mouse events go to whatever lies under the shape's area on the form.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TShape::SetBrush(const QBrush& brush)
{
    m_brush = brush;
    update();
}

void TShape::SetPen(const QPen& pen)
{
    m_pen = pen;
    m_pen.setJoinStyle(Qt::MiterJoin);
    update();
}

void TShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const qreal w = m_pen.style() == Qt::NoPen ? 0 : qMax<qreal>(1, m_pen.widthF());
    // The pen is centred on the outline: inset it by half its width.
    const QRectF outline = QRectF(rect()).adjusted(w / 2, w / 2, -w / 2, -w / 2);
    p.setPen(m_pen);
    p.setBrush(m_brush);
    p.drawRect(outline);
}
