#include "ModelosRelatorio.h"

#include <QLocale>

namespace {

QVariant Alinhamento(bool numerica)
{
    return QVariant::fromValue(Qt::AlignVCenter | (numerica ? Qt::AlignRight : Qt::AlignLeft));
}

} // namespace

template <typename Registro, typename Coluna, int Colunas>
void TModeloRelatorio<Registro, Coluna, Colunas>::SetRegistros(const QList<Registro>& registros)
{
    beginResetModel();
    m_registros = registros;
    endResetModel();
}

template <typename Registro, typename Coluna, int Colunas>
int TModeloRelatorio<Registro, Coluna, Colunas>::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_registros.size());
}

template <typename Registro, typename Coluna, int Colunas>
int TModeloRelatorio<Registro, Coluna, Colunas>::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Colunas;
}

template <typename Registro, typename Coluna, int Colunas>
QVariant TModeloRelatorio<Registro, Coluna, Colunas>::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_registros.size() || index.column() >= Colunas)
        return QVariant();
    const auto coluna = Coluna(index.column());
    if (role == Qt::DisplayRole)
        return ColunasRelatorio::Texto(m_registros.at(index.row()), coluna, QLocale());
    if (role == Qt::TextAlignmentRole)
        return Alinhamento(ColunasRelatorio::Numerica(coluna));
    return QVariant();
}

template <typename Registro, typename Coluna, int Colunas>
QVariant TModeloRelatorio<Registro, Coluna, Colunas>::headerData(int section, Qt::Orientation orientation,
                                                                 int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= Colunas)
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_titulo(Coluna(section));
    if (role == Qt::TextAlignmentRole)
        return Alinhamento(ColunasRelatorio::Numerica(Coluna(section)));
    return QVariant();
}

template class TModeloRelatorio<TCancelamento, ColunasRelatorio::Linha, ColunasRelatorio::Linhas>;
template class TModeloRelatorio<TTotalCancelamentos, ColunasRelatorio::Total, ColunasRelatorio::Totais>;
