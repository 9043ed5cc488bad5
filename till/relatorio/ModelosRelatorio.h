#pragma once
// The report's lines and totals as tables for the screen, with the columns of
// ColunasRelatorio.
#include <QAbstractTableModel>
#include <QList>
#include <functional>

#include "Cancelamentos.h"
#include "ColunasRelatorio.h"

template <typename Registro, typename Coluna, int Colunas> class TModeloRelatorio : public QAbstractTableModel {
public:
    TModeloRelatorio(std::function<QString(Coluna)> titulo, QObject* parent)
        : QAbstractTableModel(parent), m_titulo(std::move(titulo))
    {}
    void SetRegistros(const QList<Registro>& registros);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::function<QString(Coluna)> m_titulo;
    QList<Registro> m_registros;
};

using TModeloCancelamentos = TModeloRelatorio<TCancelamento, ColunasRelatorio::Linha, ColunasRelatorio::Linhas>;
// Totals by one key (reason or operator), titled by it.
using TModeloTotaisCancelamentos
    = TModeloRelatorio<TTotalCancelamentos, ColunasRelatorio::Total, ColunasRelatorio::Totais>;

extern template class TModeloRelatorio<TCancelamento, ColunasRelatorio::Linha, ColunasRelatorio::Linhas>;
extern template class TModeloRelatorio<TTotalCancelamentos, ColunasRelatorio::Total, ColunasRelatorio::Totais>;
