#pragma once
// The open orders of the installation's database as the till lists them: every
// open tab of an open sale, of a table, without one, or a delivery, with its
// count and value of items still standing.
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class TADOConnection;

enum class TTipoPedido { Mesa, Comanda, Entrega };

struct TPedidoAberto {
    TTipoPedido Tipo = TTipoPedido::Comanda;
    QString NrComanda;
    QString DsComanda;
    QString NrMesa; // empty: no table
    QStringList MesasJuntadas; // the other tables joined with NrMesa
    QDateTime Abertura;
    int Itens = 0; // lines not cancelled
    double Total = 0; // quantity x price - discount + surcharge of those lines
    bool EmRecebimento = false; // its table is being received, or closed, at another till
};

// The four texts of the package's entry for this order; cancelaTudo asks the
// cancel-all run of a delivery order.
struct TArgumentosChamada {
    QString NrComanda, DsComanda, Modo, NrMesa;
};
TArgumentosChamada ArgumentosChamada(const TPedidoAberto& pedido, bool cancelaTudo = false);

// The till's own session on the installation's database (the setting of
// KVP_DATABASE / kvp.ini / kvp-demo.db), apart from the package's.
class TBancoTill {
public:
    TBancoTill();
    ~TBancoTill();

    // Connects when not connected; raises Exception with an operator-readable
    // text (no password) when the database cannot be reached.
    void Conecta();
    QString Nome() const; // the database as the operator may see it

    // The open orders of a branch (every branch when empty), tables first by
    // table number, then tabs, then deliveries; a delivery whose items are all
    // cancelled is left out. Raises Exception.
    QList<TPedidoAberto> Pedidos(const QString& cdFilial);

private:
    std::unique_ptr<TADOConnection> m_conexao;
};

// The branch of the till's parameters file; empty when it has none.
QString FilialDoTerminal();
