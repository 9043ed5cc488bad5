#pragma once
// Rows of the restaurant order tables for tests, with a default for every
// column, so that a test names only what it is about:
//
//   DadosComanda data([this](const QString& sql, const QVariantList& b) { exec(sql, b); });
//   data.Produto({});                          // product "P1", "Filé à parmegiana"
//   data.Venda({});                            // open sale of table "0010"
//   data.Comanda({.DSCOMANDA = "RES_0010"});   // its tab "0000000100"
//   data.Item({.NRPRODCOMVEN = "000001", .QTPRODCOMVEN = 3});
//
// Members are the columns, in the order a designated initializer must follow.
// The defaults of one struct fit the defaults of the others (same branch,
// store, sale, tab, product), and a QVariant left empty is written as NULL.
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

namespace od {

inline const QString kFilial = QStringLiteral("0001");
inline const QString kLoja = QStringLiteral("01");
inline const QString kCaixa = QStringLiteral("001");
inline const QString kVenda = QStringLiteral("0000000001");
inline const QString kComanda = QStringLiteral("0000000100");
inline const QString kMesa = QStringLiteral("0010");
inline const QString kProduto = QStringLiteral("P1");
inline const QString kVendedor = QStringLiteral("0007");
inline const QDateTime kAbertura = QDateTime(QDate(2024, 5, 1), QTime(19, 30));

struct Venda {
    QString CDFILIAL = kFilial;
    QString NRVENDAREST = kVenda;
    QString CDLOJA = kLoja;
    QString NRMESA = kMesa;
    QString CDOPERADOR = QStringLiteral("0001");
    QVariant DTHRABERMESA = kAbertura;
    QVariant DTHRFECHMESA; // open
    QString CDVENDEDOR = kVendedor;
};

struct Comanda {
    QString CDFILIAL = kFilial;
    QString NRCOMANDA = kComanda;
    QString NRVENDAREST = kVenda;
    QString DSCOMANDA = QStringLiteral("CMD_0100");
    QString IDSTCOMANDA = QStringLiteral("1");
    QVariant VRACRCOMANDA = 0.0;
    QString CDLOJA = kLoja;
};

struct Item {
    QString CDFILIAL = kFilial;
    QString NRVENDAREST = kVenda;
    QString NRCOMANDA = kComanda;
    QString NRPRODCOMVEN = QStringLiteral("000001");
    QString CDPRODUTO = kProduto;
    QVariant QTPRODCOMVEN = 1.0;
    QVariant VRPRECCOMVEN = 10.0;
    QVariant VRDESCCOMVEN = 0.0;
    QVariant VRACRCOMVEN = 0.0;
    QString IDSTPRCOMVEN = QStringLiteral("1");
    QString TXPRODCOMVEN;
    QVariant DTHRINCOMVEN = kAbertura.addSecs(600);
    QString NRSEQPRODCOM;
    QString NRSEQPRODPAI;
    QString CDPRODPROMOCAO;
    QString DSCOMANDAORI;
    QString NRCOMANDAORI;
    QString NRPRODCOMORI;
    QString CDVENDEDOR = kVendedor;
    QString NRLUGARMESA = QStringLiteral("02");
    QString NRSEQBENECONSIT;
    QString IDDIVIDECONTA = QStringLiteral("N");
    QString IDPRODREFIL = QStringLiteral("N");
    QString IDPRODIMPFIS = QStringLiteral("S");
    QString CDSENHAPED;
    QString NRMESAORIG = kMesa;
    QString CDLOJAORIG = kLoja;
    QString CDLOJA = kLoja;
};

struct Produto {
    QString CDPRODUTO = kProduto;
    QString NMPRODUTO = QStringLiteral("Filé à parmegiana");
    QVariant NMPRODIMPFIS; // no fiscal name
    QString CDARVPROD = QStringLiteral("01.01.001");
    QString IDPESAPROD = QStringLiteral("N");
    QString IDTIPOCOMPPROD = QStringLiteral("1");
    QString CDNVPRODUTO = QStringLiteral("3");
};

struct ProdLoja {
    QString CDFILIAL = kFilial;
    QString CDLOJA = kLoja;
    QString CDPRODUTO = kProduto;
    QString CDPORIMPPROD = QStringLiteral("01");
    QString DSENDIMPPROD = QStringLiteral("COZINHA");
    QString IDIMPCANITEM = QStringLiteral("S");
    QVariant NRSEQIMPRPROD;
    QVariant NRSEQIMPRPROD2;
    QVariant NRSEQIMPRPUXA;
};

// A production-order row of an item (ITPEDIDOQRV or ITPEDIDOQRVREL).
struct Pedido {
    QString CDFILIAL = kFilial;
    QString NRVENDAREST = kVenda;
    QString NRCOMANDA = kComanda;
    QString NRPRODCOMVEN = QStringLiteral("000001");
    QVariant QTPRODPEQRV = 1.0;
    QString IDSITITPEDQRV = QStringLiteral("P");
};

struct Caixa {
    QString CDFILIAL = kFilial;
    QString CDCAIXA = kCaixa;
    QString CDLOJA = kLoja;
    QVariant NRSEQIMPRLOJA1;
    QVariant NRSEQIMPRLOJA1BK;
    QVariant NRSEQIMPRLOJA2;
    QVariant NRSEQIMPRLOJA2BK;
    QVariant NRSEQIMPRLOJA5;
    QVariant NRSEQIMPRLOJA5BK;
    QString IDIMPCANPEDINT = QStringLiteral("S");
};

// A benefit booking and the balance it was taken from share the five key columns.
struct Beneficio {
    QString CDCLIENTE = QStringLiteral("1");
    QString CDCONSUMIDOR = QStringLiteral("23");
    QString CDCAMPANHA = QStringLiteral("C1");
    QString NRSEQPRODCAMP = QStringLiteral("01");
    QString NRSEQBENEFICIO = QStringLiteral("001");
};

} // namespace od

class TADOStatement;

// Points a statement of the data module at a table that does not exist, so
// that its next run fails in the database as a real error would.
void BreakStatement(TADOStatement& statement, const QString& tableReference);

// A row read back as text, to compare in one go: null as "null", numbers with
// all their significant digits (an uncut 0.3333 does not pass for 0.33).
QStringList RowText(const QVariantList& row);

// The values of one column of a service's data packet, in row order, as text.
// A failure text in place of the packet raises EDatabaseError carrying it.
QStringList PacketColumn(const QVariant& result, const QString& field);

class DadosComanda {
public:
    using Exec = std::function<void(const QString& sql, const QVariantList& binds)>;
    explicit DadosComanda(Exec exec) : m_exec(std::move(exec)) {}

    // Any row: columns and values in order.
    void Insert(const QString& table, const QList<QPair<QString, QVariant>>& columns);

    void Venda(const od::Venda& v);
    void Comanda(const od::Comanda& c);
    void Item(const od::Item& i);
    void Produto(const od::Produto& p);
    void ProdLoja(const od::ProdLoja& p);
    void PedidoQrv(const od::Pedido& p);
    void PedidoQrvRel(const od::Pedido& p);
    void Caixa(const od::Caixa& c);

    // An open sale with one tab, the usual start of a test.
    void VendaComComanda(const od::Venda& v = {}, const od::Comanda& c = {});

    // A component of an item.
    void Componente(const od::Item& item, const QString& cdProduto, double quantidade, const QString& idImpPrGrPromo);
    void Mesa(const QString& nrMesa, const QString& idStMesaAux, const QString& cdLoja = od::kLoja);
    // A joining of tables.
    void Juncao(const QString& nrJunMesa, const QStringList& mesas, const QString& cdLoja = od::kLoja);
    void Vendedor(const QString& cdVendedor, const QString& nmFanVen, const QString& nrInsJurVen);
    void ParamGeral(const QString& idInfProdProduz);
    void Adiantamento(const QString& nrComanda, const QVariant& vrMov);

    // Cancellation reasons: the store's group, reasons of a group, and the
    // reasons allowed for a product.
    void Loja(const QString& cdGrpOcorCan, const QString& cdLoja = od::kLoja);
    void GrupoOcor(const QString& cdGrpOcor);
    void Ocorrencia(const QString& cdGrpOcor, const QString& cdOcorr, const QString& dsOcorr,
                    const QVariant& cdProduto = QVariant(), const QString& idControlaObs = QStringLiteral("N"),
                    const QString& cdTipRisco = QStringLiteral("01"));
    void ProdOcorre(const QString& cdProduto, const QString& cdGrpOcor, const QString& cdOcorr);
    // An observation attached in a tab (to one of its items).
    void ObsItem(const QString& nrProdComVen, const QString& cdGrpOcor, const QString& cdOcorr,
                 const QString& nrComanda = od::kComanda, const QString& nrVendaRest = od::kVenda);

    // Printers: model, port address, store printer.
    void Impressora(const QString& cdImpressora, const QString& idModeImpres);
    void Porta(const QString& cdPortaImpr, const QString& dsEndPorta);
    void ImprLoja(const QString& nrSeqImprLoja, const QString& cdPortaImpr, const QString& cdImpressora,
                  const QString& cdLoja = od::kLoja);

    // Benefits: a balance and a booking taken from it.
    void BeneficioSaldo(const od::Beneficio& b, double qtdeBeneficio);
    void BeneficioConsumo(const QString& nrSeqBeneCons, const od::Beneficio& b, const QString& cdCaixa = od::kCaixa,
                          const QString& cdFilial = od::kFilial);

private:
    void Pedido(const QString& table, const od::Pedido& p, bool comData);
    Exec m_exec;
};
