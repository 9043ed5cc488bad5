#pragma once
// A plain shape drawn on a form: a filled rectangle whose pen lies wholly
// inside the widget, so a shape as large as its form frames the form.
#include <QBrush>
#include <QPen>
#include <QWidget>

class TShape : public QWidget {
    Q_OBJECT
public:
    explicit TShape(QWidget* parent = nullptr);

    QBrush Brush() const { return m_brush; }
    void SetBrush(const QBrush& brush);
    QPen Pen() const { return m_pen; }
    void SetPen(const QPen& pen);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QBrush m_brush{Qt::white};
    QPen m_pen{Qt::black, 1};
};
