#include "ModelosRelatorio.h"

#include <QLocale>

#include "ColunasRelatorio.h"

namespace {

QVariant Alinhamento(bool numerica)
{
    return QVariant::fromValue(Qt::AlignVCenter | (numerica ? Qt::AlignRight : Qt::AlignLeft));
}

} // namespace

void TModeloCancelamentos::SetLinhas(const QList<TCancelamento>& linhas)
{
    beginResetModel();
    m_linhas = linhas;
    endResetModel();
}

int TModeloCancelamentos::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_linhas.size());
}

int TModeloCancelamentos::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColunasRelatorio::Linhas;
}

QVariant TModeloCancelamentos::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_linhas.size())
        return QVariant();
    const auto coluna = ColunasRelatorio::Linha(index.column());
    if (role == Qt::DisplayRole)
        return ColunasRelatorio::Texto(m_linhas.at(index.row()), coluna, QLocale());
    if (role == Qt::TextAlignmentRole)
        return Alinhamento(ColunasRelatorio::Numerica(coluna));
    return QVariant();
}

QVariant TModeloCancelamentos::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColunasRelatorio::Linhas)
        return QVariant();
    if (role == Qt::DisplayRole)
        return ColunasRelatorio::Titulo(ColunasRelatorio::Linha(section));
    if (role == Qt::TextAlignmentRole)
        return Alinhamento(ColunasRelatorio::Numerica(ColunasRelatorio::Linha(section)));
    return QVariant();
}

TModeloTotaisCancelamentos::TModeloTotaisCancelamentos(QString chave, QObject* parent)
    : QAbstractTableModel(parent), m_chave(std::move(chave))
{}

void TModeloTotaisCancelamentos::SetTotais(const QList<TTotalCancelamentos>& totais)
{
    beginResetModel();
    m_totais = totais;
    endResetModel();
}

int TModeloTotaisCancelamentos::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_totais.size());
}

int TModeloTotaisCancelamentos::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColunasRelatorio::Totais;
}

QVariant TModeloTotaisCancelamentos::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_totais.size())
        return QVariant();
    const auto coluna = ColunasRelatorio::Total(index.column());
    if (role == Qt::DisplayRole)
        return ColunasRelatorio::Texto(m_totais.at(index.row()), coluna, QLocale());
    if (role == Qt::TextAlignmentRole)
        return Alinhamento(ColunasRelatorio::Numerica(coluna));
    return QVariant();
}

QVariant TModeloTotaisCancelamentos::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColunasRelatorio::Totais)
        return QVariant();
    if (role == Qt::DisplayRole)
        return ColunasRelatorio::Titulo(ColunasRelatorio::Total(section), m_chave);
    if (role == Qt::TextAlignmentRole)
        return Alinhamento(ColunasRelatorio::Numerica(ColunasRelatorio::Total(section)));
    return QVariant();
}
