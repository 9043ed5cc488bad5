#pragma once
// The open orders as the till's list shows them, one row per tab: kind,
// tab, label, table and the tables joined with it, opening time, items and
// value standing, in the default locale's formats.
#include <QAbstractTableModel>
#include <QList>

#include "PedidosAbertos.h"

class TModeloPedidos : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Coluna { ColTipo, ColComanda, ColDescricao, ColMesa, ColJuntadas, ColAbertura, ColItens, ColTotal, NColunas };

    using QAbstractTableModel::QAbstractTableModel;

    void SetPedidos(QList<TPedidoAberto> pedidos);
    const TPedidoAberto& Pedido(int linha) const { return m_pedidos.at(linha); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<TPedidoAberto> m_pedidos;
};

QString NomeTipo(TTipoPedido tipo);
