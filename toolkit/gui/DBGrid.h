#pragma once
// Data-bound grid: shows the visible rows of a client dataset through one table
// model, with configured columns. Cell painting beyond the default is done by
// an item delegate the form installs (setItemDelegate).
//
// Column numbers: the grid keeps the model's columns (one per field, in field
// order) and only hides and reorders them, so a "column" here is always a
// model column, as in QModelIndex::column(): ColumnAt, TitleClick and the
// delegate's indexes agree. The grid's current cell follows the dataset's
// current row and the other way round.
#include <QColor>
#include <QFont>
#include <QList>
#include <QTableView>
#include <functional>

#include "toolkit_gui_export.h"

class TClientDataSet;
class TDataSetTableModel;

struct TOOLKIT_GUI_EXPORT TColumn {
    QString FieldName;
    QString Title; // empty = the field's display label
    int Width = 0; // pixels; 0 or less: the toolkit default, wide enough for the title and the field's size
    QFont TitleFont;
    QColor TitleColor = Qt::white; // title text
    QColor TitleBackground; // title fill
    Qt::Alignment TitleAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    Qt::Alignment Alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

class TOOLKIT_GUI_EXPORT TDBGrid : public QTableView {
    Q_OBJECT
public:
    explicit TDBGrid(QWidget* parent = nullptr);
    ~TDBGrid() override;

    // Uses the TDataSetTableModel already set on the grid when it shows this
    // dataset, else creates one of its own.
    void SetDataSet(TClientDataSet* dataSet); // follows its filter, cursor and edits
    TClientDataSet* DataSet() const;
    TDataSetTableModel* Model() const;
    void setModel(QAbstractItemModel* model) override;

    QList<TColumn>& Columns();
    void ApplyColumns(); // after editing Columns()
    const TColumn* ColumnAt(int column) const; // the column showing that model column; nullptr if none
    int FieldColumn(const QString& fieldName) const; // the model column of a field; -1 when absent

    // White background, black text, no grid colours of the platform theme.
    void SetDefaultColors(bool on);

    // Key handler that runs before the view's own; return true to swallow the key.
    // It runs guarded: an exception swallows the key and is reported.
    std::function<bool(QKeyEvent*)> OnKeyDown;

signals:
    void TitleClick(int column);
    void DblClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void changeEvent(QEvent* event) override;

private:
    void FollowDataSet(); // current cell := dataset's current row
    void ModelWasReset();
    int DefaultWidth(const TColumn& column, int modelColumn) const;

    struct Private;
    Private* d;
};
