#pragma once
// Table model over the visible rows of a client dataset: one column per field
// (DisplayRole = the field's DisplayText, EditRole = its value), the dataset's
// current row as CurrentRowRole on any index. It resets when the dataset's data,
// structure or filter change and emits dataChanged for a single posted row.
// Every cell is read straight from the dataset's visible row, so a reset costs
// nothing and a cell never scans the rows.
#include <QAbstractTableModel>

#include "toolkit_export.h"

class TClientDataSet;

class TOOLKIT_EXPORT TDataSetTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Roles { FieldNameRole = Qt::UserRole + 1, RawValueRole, CurrentRowRole };

    explicit TDataSetTableModel(TClientDataSet* dataSet, QObject* parent = nullptr);
    TClientDataSet* DataSet() const { return m_dataSet; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    int fieldColumn(const QString& fieldName) const; // -1 when absent
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The dataset's cursor moved; -1 when no row is current.
    void currentRowChanged(int row);

private:
    void Reset();

    TClientDataSet* m_dataSet;
};
