#pragma once
// Data-bound grid: shows the visible rows of a client dataset through one table
// model, with configured columns. Cell painting beyond the default is done by
// an item delegate the form installs (setItemDelegate).
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
    QString Title;             // empty = the field's display label
    int Width = 64;            // pixels; 64 is the toolkit default
    QFont TitleFont;
    QColor TitleColor = Qt::white;       // title text
    QColor TitleBackground;              // title fill
    Qt::Alignment TitleAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    Qt::Alignment Alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

class TOOLKIT_GUI_EXPORT TDBGrid : public QTableView {
    Q_OBJECT
public:
    explicit TDBGrid(QWidget* parent = nullptr);
    ~TDBGrid() override;

    void SetDataSet(TClientDataSet* dataSet);   // follows its filter, cursor and edits
    TClientDataSet* DataSet() const;

    QList<TColumn>& Columns();
    void ApplyColumns();                         // after editing Columns()
    const TColumn* ColumnAt(int column) const;

    // White background, black text, no grid colours of the platform theme.
    void SetDefaultColors(bool on);

    // Key handler that runs before the view's own; return true to swallow the key.
    std::function<bool(QKeyEvent*)> OnKeyDown;

signals:
    void TitleClick(int column);
    void DblClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    struct Private;
    Private* d;
};
