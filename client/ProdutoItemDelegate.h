#pragma once
// Cell painting of the item grid: white cells, cancelled items in red, the
// current cell in the highlight colour while the grid has the focus, and the
// check column drawn as an icon (marked, unmarked or cancelled) instead of its
// "C"/"U" letter.
#include <QPixmap>
#include <QStyledItemDelegate>

class TClientDataSet;

class ProdutoItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // The pictures are the form's own: they are read at every paint, so the
    // form may (re)load them after the delegate exists. Olive (128,128,0) in
    // them is transparent.
    ProdutoItemDelegate(TClientDataSet* dataSet, const QPixmap* check, const QPixmap* uncheck, const QPixmap* gray,
                        QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static QColor CorTransparente() { return QColor(128, 128, 0); }
    static QColor CorCancelado() { return QColor(255, 0, 0); }

private:
    QString FieldNameAt(const QModelIndex& index) const;
    QString RowValue(int visibleRow, const QString& fieldName) const;
    const QPixmap& Transparente(const QPixmap& source) const;

    TClientDataSet* m_dataSet;
    const QPixmap* m_check;
    const QPixmap* m_uncheck;
    const QPixmap* m_gray;

    struct Cache {
        qint64 key = 0;
        QPixmap masked;
    };
    mutable Cache m_cache[3];
};
