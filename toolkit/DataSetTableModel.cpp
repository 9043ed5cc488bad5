#include "DataSetTableModel.h"

#include "ClientDataSet.h"

TDataSetTableModel::TDataSetTableModel(TClientDataSet* dataSet, QObject* parent)
    : QAbstractTableModel(parent), m_dataSet(dataSet)
{
    if (!m_dataSet)
        return;
    connect(m_dataSet, &TClientDataSet::DataChanged, this, &TDataSetTableModel::Reset);
    connect(m_dataSet, &TClientDataSet::RowChanged, this, [this](int row) {
        if (row < 0 || row >= rowCount() || columnCount() == 0)
            return;
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
    connect(m_dataSet, &TClientDataSet::AfterScroll, this, [this] { emit currentRowChanged(m_dataSet->RecNo() - 1); });
    // A dataset that goes away first leaves an empty model, not a dangling one.
    connect(m_dataSet, &QObject::destroyed, this, [this] {
        beginResetModel();
        m_dataSet = nullptr;
        endResetModel();
    });
}

void TDataSetTableModel::Reset()
{
    beginResetModel();
    endResetModel();
}

int TDataSetTableModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_dataSet)
        return 0;
    return m_dataSet->RecordCount();
}

int TDataSetTableModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_dataSet || !m_dataSet->Active())
        return 0;
    return m_dataSet->FieldCount();
}

QVariant TDataSetTableModel::data(const QModelIndex& index, int role) const
{
    if (!m_dataSet || !index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole: return m_dataSet->VisibleDisplayText(index.row(), index.column());
    case Qt::EditRole:
    case RawValueRole: return m_dataSet->VisibleValue(index.row(), index.column());
    case FieldNameRole: return m_dataSet->Fields(index.column())->FieldName();
    case CurrentRowRole: return m_dataSet->RecNo() - 1;
    default: return QVariant();
    }
}

QVariant TDataSetTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (!m_dataSet)
        return QVariant();
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole && section >= 0 && section < rowCount())
            return section + 1;
        return QVariant();
    }
    if (section < 0 || section >= columnCount())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole: return m_dataSet->Fields(section)->DisplayLabel();
    case FieldNameRole: return m_dataSet->Fields(section)->FieldName();
    default: return QVariant();
    }
}

int TDataSetTableModel::fieldColumn(const QString& fieldName) const
{
    if (!m_dataSet)
        return -1;
    const TField* f = m_dataSet->FindField(fieldName);
    return f ? f->Index() : -1;
}

Qt::ItemFlags TDataSetTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
