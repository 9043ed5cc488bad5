#include "BlendedBitBtn.h"

#include <QEvent>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOption>

namespace {
constexpr qreal kRadius = 6.0;
constexpr int kSpacing = 4;
constexpr int kMargin = 4;
} // namespace

TBlendedBitBtn::TBlendedBitBtn(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover, false);
}

void TBlendedBitBtn::SetShape(TButtonShape shape)
{
    m_shape = shape;
    update();
}

void TBlendedBitBtn::SetColor(const QColor& color)
{
    m_color = color;
    update();
}

void TBlendedBitBtn::SetDisabledColor(const QColor& color)
{
    m_disabledColor = color;
    update();
}

void TBlendedBitBtn::SetFontColor(const QColor& color)
{
    m_fontColor = color;
    update();
}

void TBlendedBitBtn::SetDisabledFontColor(const QColor& color)
{
    m_disabledFontColor = color;
    update();
}

void TBlendedBitBtn::SetGlyph(const QPixmap& glyph)
{
    m_glyph = glyph;
    updateGeometry();
    update();
}

void TBlendedBitBtn::SetDisabledGlyph(const QPixmap& glyph)
{
    m_disabledGlyph = glyph;
    update();
}

void TBlendedBitBtn::SetGlyphPosition(TGlyphPosition position)
{
    m_glyphPosition = position;
    update();
}

QColor TBlendedBitBtn::FaceColor() const
{
    if (!isEnabled())
        return m_disabledColor;
    return isDown() ? m_color.darker(125) : m_color;
}

QRectF TBlendedBitBtn::FaceRect() const
{
    QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (m_shape == TButtonShape::Circle) {
        const qreal side = qMin(r.width(), r.height());
        r = QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
    }
    return r;
}

bool TBlendedBitBtn::event(QEvent* event)
{
    // The Alt shortcut clicks at once, as a tap does, instead of animating a
    // press that ends later on a timer.
    if (event->type() == QEvent::Shortcut) {
        if (isEnabled())
            click();
        return true;
    }
    return QAbstractButton::event(event);
}

bool TBlendedBitBtn::hitButton(const QPoint& pos) const
{
    if (m_shape != TButtonShape::Circle)
        return rect().contains(pos);
    const QRectF r = FaceRect();
    const QPointF c = r.center();
    const qreal radius = r.width() / 2;
    const qreal dx = pos.x() - c.x();
    const qreal dy = pos.y() - c.y();
    return dx * dx + dy * dy <= radius * radius;
}

QSize TBlendedBitBtn::sizeHint() const
{
    const QSize glyph = m_glyph.isNull() ? QSize() : m_glyph.deviceIndependentSize().toSize();
    QSize text;
    if (!this->text().isEmpty())
        text = fontMetrics().size(Qt::TextShowMnemonic, this->text());
    int w = glyph.width() + text.width() + 2 * kMargin + (glyph.isValid() && text.isValid() ? kSpacing : 0);
    int h = qMax(glyph.height(), text.height()) + 2 * kMargin;
    return QSize(qMax(w, 24), qMax(h, 24));
}

void TBlendedBitBtn::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF face = FaceRect();
    p.setPen(Qt::NoPen);
    p.setBrush(FaceColor());
    if (m_shape == TButtonShape::Circle)
        p.drawEllipse(face);
    else
        p.drawRoundedRect(face, kRadius, kRadius);

    QPixmap glyph = m_glyph;
    if (!isEnabled()) {
        if (!m_disabledGlyph.isNull()) {
            glyph = m_disabledGlyph;
        } else if (!glyph.isNull()) {
            QStyleOption opt;
            opt.initFrom(this);
            glyph = style()->generatedIconPixmap(QIcon::Disabled, glyph, &opt);
        }
    }
    const QSize glyphSize = glyph.isNull() ? QSize(0, 0) : glyph.deviceIndependentSize().toSize();
    const QRect inner = face.toAlignedRect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const QString caption = text();

    if (caption.isEmpty()) {
        if (!glyph.isNull()) {
            const QRect target(QPoint(0, 0), glyphSize);
            p.drawPixmap(QRect(inner.center() - target.center(), glyphSize), glyph);
        }
        return;
    }

    // Caption and picture side by side, centred together; the caption wraps
    // to a second line when the button is narrow.
    const int glyphSpace = glyph.isNull() ? 0 : glyphSize.width() + kSpacing;
    const int textRoom = qMax(1, inner.width() - glyphSpace);
    const int flags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    const QRect textNeed = fontMetrics().boundingRect(QRect(0, 0, textRoom, inner.height()), flags, caption);
    const int textWidth = qMin(textRoom, textNeed.width());
    const int total = textWidth + glyphSpace;
    int x = inner.left() + (inner.width() - total) / 2;

    QRect textRect;
    QRect glyphRect;
    if (m_glyphPosition == TGlyphPosition::Right) {
        textRect = QRect(x, inner.top(), textWidth, inner.height());
        glyphRect = QRect(x + textWidth + kSpacing, inner.center().y() - glyphSize.height() / 2, glyphSize.width(),
                          glyphSize.height());
    } else {
        glyphRect = QRect(x, inner.center().y() - glyphSize.height() / 2, glyphSize.width(), glyphSize.height());
        textRect = QRect(x + glyphSpace, inner.top(), textWidth, inner.height());
    }
    if (!glyph.isNull())
        p.drawPixmap(glyphRect, glyph);
    p.setFont(font());
    p.setPen(isEnabled() ? m_fontColor : m_disabledFontColor);
    p.drawText(textRect, flags, caption);
}
