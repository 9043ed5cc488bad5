#include "DBGrid.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyleOptionViewItem>

#include "ClientDataSet.h"
#include "DataSetTableModel.h"
#include "EventGuard.h"

namespace {

// Titles drawn with each column's own font and colours; columns without a title
// background keep the style's look.
class TitleHeader : public QHeaderView {
public:
    explicit TitleHeader(TDBGrid* grid) : QHeaderView(Qt::Horizontal, grid), m_grid(grid) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
    {
        const TColumn* column = m_grid->ColumnAt(logicalIndex);
        if (!column || !column->TitleBackground.isValid()) {
            QHeaderView::paintSection(painter, rect, logicalIndex);
            return;
        }
        painter->save();
        painter->fillRect(rect, column->TitleBackground);
        painter->setPen(column->TitleBackground.darker(130));
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        QString text = column->Title;
        if (text.isEmpty() && model())
            text = model()->headerData(logicalIndex, Qt::Horizontal, Qt::DisplayRole).toString();
        painter->setFont(column->TitleFont);
        painter->setPen(column->TitleColor);
        painter->drawText(rect.adjusted(2, 0, -2, 0), int(column->TitleAlignment) | Qt::TextSingleLine, text);
        painter->restore();
    }

private:
    TDBGrid* m_grid;
};

} // namespace

struct TDBGrid::Private {
    QList<TColumn> columns;
    QPointer<TDataSetTableModel> ownModel; // created by SetDataSet
    QList<QMetaObject::Connection> connections;
    bool following = false; // the grid is moving its own current cell
};

TDBGrid::TDBGrid(QWidget* parent) : QTableView(parent), d(new Private)
{
    setHorizontalHeader(new TitleHeader(this));
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setMinimumSectionSize(8);
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setShowGrid(true);
    setWordWrap(false);
    setSortingEnabled(false);
    setTabKeyNavigation(false);
    verticalHeader()->setMinimumSectionSize(8);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);

    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int logicalIndex) { Guarded([&] { emit TitleClick(logicalIndex); }); });
}

TDBGrid::~TDBGrid()
{
    for (const auto& c : d->connections)
        disconnect(c);
    delete d;
}

TDataSetTableModel* TDBGrid::Model() const
{
    return qobject_cast<TDataSetTableModel*>(model());
}

TClientDataSet* TDBGrid::DataSet() const
{
    const TDataSetTableModel* m = Model();
    return m ? m->DataSet() : nullptr;
}

void TDBGrid::SetDataSet(TClientDataSet* dataSet)
{
    if (DataSet() == dataSet && Model())
        return;
    TDataSetTableModel* previous = d->ownModel;
    setModel(dataSet ? new TDataSetTableModel(dataSet, this) : nullptr);
    d->ownModel = Model();
    delete previous;
}

void TDBGrid::setModel(QAbstractItemModel* newModel)
{
    for (const auto& c : d->connections)
        disconnect(c);
    d->connections.clear();
    QTableView::setModel(newModel);
    if (!newModel)
        return;
    d->connections << connect(newModel, &QAbstractItemModel::modelReset, this, [this] { ModelWasReset(); });
    d->connections << connect(newModel, &QAbstractItemModel::layoutChanged, this, [this] { ModelWasReset(); });
    if (TClientDataSet* ds = DataSet())
        d->connections << connect(ds, &TClientDataSet::AfterScroll, this, [this] { FollowDataSet(); });
    ModelWasReset();
}

QList<TColumn>& TDBGrid::Columns()
{
    return d->columns;
}

int TDBGrid::FieldColumn(const QString& fieldName) const
{
    const TDataSetTableModel* m = Model();
    return m ? m->fieldColumn(fieldName) : -1;
}

const TColumn* TDBGrid::ColumnAt(int column) const
{
    const TClientDataSet* ds = DataSet();
    if (!ds || column < 0 || column >= ds->FieldCount())
        return nullptr;
    const QString name = ds->Fields(column)->FieldName();
    for (const TColumn& c : d->columns) {
        if (c.FieldName.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

int TDBGrid::DefaultWidth(const TColumn& column, int modelColumn) const
{
    // As wide as the field's text (long texts capped) or the title, whichever is wider.
    const TClientDataSet* ds = DataSet();
    int chars = 10;
    if (ds && modelColumn >= 0 && modelColumn < ds->FieldCount()) {
        const TField* f = ds->Fields(modelColumn);
        if (f->DataType() == TFieldType::ftString && f->Size() > 0)
            chars = qMin(f->Size(), 25);
        else if (f->DataType() == TFieldType::ftDateTime)
            chars = 19;
    }
    const int fieldWidth = chars * fontMetrics().horizontalAdvance(QLatin1Char('0')) + 4;
    QString title = column.Title;
    if (title.isEmpty() && model())
        title = model()->headerData(modelColumn, Qt::Horizontal, Qt::DisplayRole).toString();
    const int titleWidth = QFontMetrics(column.TitleFont).horizontalAdvance(title) + 4;
    return qMax(fieldWidth, titleWidth);
}

void TDBGrid::ApplyColumns()
{
    QHeaderView* header = horizontalHeader();
    const int count = model() ? model()->columnCount() : 0;
    if (count == 0)
        return;
    if (d->columns.isEmpty()) {
        for (int i = 0; i < count; ++i)
            header->showSection(i);
        return;
    }
    for (int i = 0; i < count; ++i)
        header->hideSection(i);
    int placed = 0;
    for (const TColumn& column : d->columns) {
        const int logical = FieldColumn(column.FieldName);
        if (logical < 0 || logical >= count)
            continue;
        header->showSection(logical);
        const int from = header->visualIndex(logical);
        if (from != placed)
            header->moveSection(from, placed);
        header->resizeSection(logical, column.Width > 0 ? column.Width : DefaultWidth(column, logical));
        ++placed;
    }
    const QFont titleFont = d->columns.first().TitleFont;
    header->setFixedHeight(QFontMetrics(titleFont).height() + 6);
    header->viewport()->update();
}

void TDBGrid::ModelWasReset()
{
    ApplyColumns();
    FollowDataSet();
}

void TDBGrid::FollowDataSet()
{
    if (d->following || !model() || !selectionModel())
        return;
    const TClientDataSet* ds = DataSet();
    if (!ds || !ds->Active())
        return;
    const int row = ds->RecNo() - 1;
    if (row < 0 || row >= model()->rowCount())
        return;
    int column = currentIndex().isValid() ? currentIndex().column() : -1;
    if (column < 0 || isColumnHidden(column)) {
        column = -1;
        for (int v = 0; v < horizontalHeader()->count() && column < 0; ++v) {
            const int logical = horizontalHeader()->logicalIndex(v);
            if (!isColumnHidden(logical))
                column = logical;
        }
        if (column < 0)
            return;
    }
    const QModelIndex index = model()->index(row, column);
    d->following = true;
    if (currentIndex() != index)
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    d->following = false;
    scrollTo(index);
}

void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (d->following || !current.isValid())
        return;
    TClientDataSet* ds = DataSet();
    if (!ds || !ds->Active() || ds->RecNo() == current.row() + 1)
        return;
    Guarded([&] {
        d->following = true;
        try {
            ds->SetRecNo(current.row() + 1);
        } catch (...) {
            d->following = false;
            throw;
        }
        d->following = false;
    });
    // The dataset may have ended elsewhere (an edit posted, a refusal).
    FollowDataSet();
}

void TDBGrid::SetDefaultColors(bool on)
{
    if (!on) {
        setPalette(QPalette());
        return;
    }
    QPalette p = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, Qt::white);
        p.setColor(group, QPalette::AlternateBase, Qt::white);
        p.setColor(group, QPalette::Window, Qt::white);
        p.setColor(group, QPalette::Text, Qt::black);
        p.setColor(group, QPalette::WindowText, Qt::black);
    }
    setPalette(p);
    setAutoFillBackground(true);
}

void TDBGrid::keyPressEvent(QKeyEvent* event)
{
    if (OnKeyDown) {
        bool swallowed = true; // a handler that failed has used the key up
        Guarded([&] { swallowed = OnKeyDown(event); });
        if (swallowed) {
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    Guarded([&] { emit DblClick(); });
}

void TDBGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}
