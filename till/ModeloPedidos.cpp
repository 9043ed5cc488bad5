#include "ModeloPedidos.h"

#include <QBrush>
#include <QColor>
#include <QLocale>

QString NomeTipo(TTipoPedido tipo)
{
    switch (tipo) {
    case TTipoPedido::Mesa: return QStringLiteral("Mesa");
    case TTipoPedido::Comanda: return QStringLiteral("Comanda");
    case TTipoPedido::Entrega: return QStringLiteral("Entrega");
    }
    return QString();
}

void TModeloPedidos::SetPedidos(QList<TPedidoAberto> pedidos)
{
    beginResetModel();
    m_pedidos = std::move(pedidos);
    endResetModel();
}

int TModeloPedidos::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_pedidos.size());
}

int TModeloPedidos::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : NColunas;
}

QVariant TModeloPedidos::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_pedidos.size())
        return {};
    const TPedidoAberto& p = m_pedidos.at(index.row());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(
            Qt::AlignVCenter
            | (index.column() == ColItens || index.column() == ColTotal ? Qt::AlignRight : Qt::AlignLeft));
    // Greyed: nothing of it can be cancelled until the other till is done.
    if (role == Qt::ForegroundRole && p.EmRecebimento)
        return QBrush(QColor(130, 130, 130));
    if (role == Qt::ToolTipRole && p.EmRecebimento)
        return QStringLiteral("Mesa em recebimento ou fechada em outro caixa: nada pode ser cancelado nela.");
    if (role != Qt::DisplayRole)
        return {};
    // The default locale: the terminal's, set before the window exists.
    const QLocale locale;
    switch (index.column()) {
    case ColTipo: return p.EmRecebimento ? NomeTipo(p.Tipo) + QStringLiteral(" - em recebimento") : NomeTipo(p.Tipo);
    case ColComanda: return p.NrComanda;
    case ColDescricao: return p.DsComanda;
    case ColMesa: return p.NrMesa;
    case ColJuntadas: return p.MesasJuntadas.join(QStringLiteral(", "));
    case ColAbertura:
        return p.Abertura.isValid() ? locale.toString(p.Abertura.date(), QLocale::ShortFormat) + QLatin1Char(' ')
                + locale.toString(p.Abertura.time(), QLocale::ShortFormat)
                                    : QString();
    case ColItens: return locale.toString(p.Itens);
    case ColTotal: return locale.toString(p.Total, 'f', 2);
    }
    return {};
}

QVariant TModeloPedidos::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case ColTipo: return QStringLiteral("Tipo");
    case ColComanda: return QStringLiteral("Comanda");
    case ColDescricao: return QStringLiteral("Descrição");
    case ColMesa: return QStringLiteral("Mesa");
    case ColJuntadas: return QStringLiteral("Juntada com");
    case ColAbertura: return QStringLiteral("Aberta em");
    case ColItens: return QStringLiteral("Itens");
    case ColTotal: return QStringLiteral("Total (R$)");
    }
    return {};
}
