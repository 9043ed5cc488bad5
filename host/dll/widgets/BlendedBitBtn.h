#pragma once
// The suite's touch button: a rounded rectangle or a circle filled with its
// colour, a picture beside (or instead of) the caption, and a light gray face
// with white text while disabled. It never takes the focus, so a tap leaves the
// keyboard with the control the operator was using. "&" in the caption marks
// the Alt shortcut.
#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

#include "dll_widgets_export.h"

class DLL_WIDGETS_EXPORT TBlendedBitBtn : public QAbstractButton {
    Q_OBJECT
public:
    enum class TButtonShape { RoundRect, Circle };
    enum class TGlyphPosition { Left, Right };

    explicit TBlendedBitBtn(QWidget* parent = nullptr);

    TButtonShape Shape() const { return m_shape; }
    void SetShape(TButtonShape shape);

    QColor Color() const { return m_color; }
    void SetColor(const QColor& color);
    QColor DisabledColor() const { return m_disabledColor; }
    void SetDisabledColor(const QColor& color);
    QColor FontColor() const { return m_fontColor; }
    void SetFontColor(const QColor& color);
    QColor DisabledFontColor() const { return m_disabledFontColor; }
    void SetDisabledFontColor(const QColor& color);

    QPixmap Glyph() const { return m_glyph; }
    void SetGlyph(const QPixmap& glyph);
    QPixmap DisabledGlyph() const { return m_disabledGlyph; }
    void SetDisabledGlyph(const QPixmap& glyph); // without one the glyph is grayed
    TGlyphPosition GlyphPosition() const { return m_glyphPosition; }
    void SetGlyphPosition(TGlyphPosition position);

    // The face colour as painted in the current state.
    QColor FaceColor() const;

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    QRectF FaceRect() const;

    TButtonShape m_shape = TButtonShape::RoundRect;
    QColor m_color{128, 128, 128};
    QColor m_disabledColor{204, 204, 204};
    QColor m_fontColor{Qt::white};
    QColor m_disabledFontColor{Qt::white};
    QPixmap m_glyph;
    QPixmap m_disabledGlyph;
    TGlyphPosition m_glyphPosition = TGlyphPosition::Left;
};
