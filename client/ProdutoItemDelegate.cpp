#include "ProdutoItemDelegate.h"

#include <QBitmap>
#include <QPainter>

#include "CamposItem.h"
#include "ClientDataSet.h"
#include "DBGrid.h"
#include "DataSetTableModel.h"

ProdutoItemDelegate::ProdutoItemDelegate(TClientDataSet* dataSet, const QPixmap* check, const QPixmap* uncheck,
                                         const QPixmap* gray, QObject* parent)
    : QStyledItemDelegate(parent), m_dataSet(dataSet), m_check(check), m_uncheck(uncheck), m_gray(gray)
{}

QString ProdutoItemDelegate::FieldNameAt(const QModelIndex& index) const
{
    const QString name = index.data(TDataSetTableModel::FieldNameRole).toString();
    if (!name.isEmpty())
        return name;
    if (const auto* grid = qobject_cast<const TDBGrid*>(parent()))
        if (const TColumn* column = grid->ColumnAt(index.column()))
            return column->FieldName;
    return {};
}

QString ProdutoItemDelegate::RowValue(int visibleRow, const QString& fieldName) const
{
    const TField* field = m_dataSet->FindField(fieldName);
    if (!field)
        return {};
    return m_dataSet->VisibleValue(visibleRow, field->Index()).toString();
}

const QPixmap& ProdutoItemDelegate::Transparente(const QPixmap& source) const
{
    Cache& slot = m_cache[&source == m_check ? 0 : &source == m_uncheck ? 1 : 2];
    if (slot.key != source.cacheKey() || slot.masked.isNull()) {
        slot.key = source.cacheKey();
        slot.masked = source;
        slot.masked.setMask(source.createMaskFromColor(CorTransparente(), Qt::MaskInColor));
    }
    return slot.masked;
}

void ProdutoItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (!m_dataSet || m_dataSet->IsEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }

    const QRect rect = option.rect;
    const int row = index.row();
    const bool cancelado = RowValue(row, QStringLiteral("IDSTPRCOMVEN")) == kEstadoCancelado;
    // The view flags the current cell only while it (or its viewport) has the
    // focus: that cell is the selected one.
    const bool selecionada = option.state.testFlag(QStyle::State_HasFocus);

    painter->save();
    painter->setClipRect(rect);

    QColor fundo = Qt::white;
    painter->fillRect(rect, fundo);
    QColor texto = cancelado ? CorCancelado() : option.palette.color(QPalette::Text);
    const QString display = index.data(Qt::DisplayRole).toString();
    if (selecionada) {
        fundo = option.palette.color(QPalette::Highlight);
        painter->fillRect(rect, fundo);
        texto = Qt::white;
    }

    painter->setFont(option.font);
    painter->setPen(texto);
    painter->drawText(rect.left() + 1, rect.top() + 2 + QFontMetrics(option.font).ascent(), display);

    if (selecionada) {
        // A dotted frame in the inverse of the fill, as the platform's focus
        // rectangle (drawn by inverting) looks.
        QPen pen(QColor(255 - fundo.red(), 255 - fundo.green(), 255 - fundo.blue()));
        pen.setStyle(Qt::DotLine);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
    }

    if (FieldNameAt(index) == QLatin1String("IDCHECK")) {
        const QString marca = RowValue(row, QStringLiteral("IDCHECK"));
        const QPixmap* icone = marca == QLatin1String("C") ? m_check
            : marca == QLatin1String("U")                  ? m_uncheck
                                                           : nullptr;
        if (cancelado)
            icone = m_gray;
        painter->fillRect(rect, fundo);
        if (icone && !icone->isNull()) {
            const QPixmap& pm = Transparente(*icone);
            painter->drawPixmap(QRect(rect.left() + 4, rect.top(), pm.width(), rect.height()), pm);
        }
    }

    painter->restore();
}
