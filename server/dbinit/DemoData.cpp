#include "DemoData.h"

#include <QDateTime>
#include <QLocale>
#include <QMap>
#include <tuple>

#include "CamposItem.h"
#include "ado/ADO.h"

namespace {

const QString kFilial = QStringLiteral("0001");
const QString kLoja = QStringLiteral("01");
const QString kCaixa = QStringLiteral("001");

class Writer {
public:
    explicit Writer(TADOConnection& connection) : m_connection(connection) {}

    void rows(const QString& table, const QStringList& columns, const QList<QVariantList>& values)
    {
        QStringList params;
        for (const QString& c : columns)
            params << QLatin1Char(':') + c;
        TADOCommand insert(&m_connection, QStringLiteral("acmDemo%1").arg(table));
        insert.SetSQL(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(table, columns.join(QStringLiteral(", ")), params.join(QStringLiteral(", "))));
        for (const QVariantList& row : values) {
            for (int i = 0; i < columns.size(); ++i)
                insert.SetParam(columns[i], i < row.size() ? row[i] : QVariant());
            insert.Execute();
            ++m_counts[table];
        }
    }

    const QMap<QString, int>& counts() const { return m_counts; }

private:
    TADOConnection& m_connection;
    QMap<QString, int> m_counts;
};

// Today's service, so that the data looks current on the screen.
QDateTime at(int hour, int minute)
{
    return QDateTime(QDate::currentDate(), QTime(hour, minute));
}

struct Item {
    QString comanda;
    QString venda;
    QString numero;
    QString produto;
    double quantidade = 1;
    double preco = 0;
    QString estado;
    QDateTime entrada;
    QString lugar = QStringLiteral("01");
    QString vendedor = QStringLiteral("0007");
    double desconto = 0;
    double acrescimo = 0;
    QString pai; // NRSEQPRODPAI
    QString grupoCombo; // NRSEQPRODCOM
    QString promocao; // CDPRODPROMOCAO
    QString divideConta = QStringLiteral("N");
    QString refil = QStringLiteral("N");
    QString beneficio; // NRSEQBENECONSIT
    QString texto;
    QString mesa;
};

QVariant textOrNull(const QString& s)
{
    return s.isEmpty() ? QVariant() : QVariant(s);
}

void addItems(Writer& w, const QList<Item>& items)
{
    QList<QVariantList> values;
    for (const Item& i : items) {
        const bool cancelled = i.estado == kEstadoCancelado;
        values << QVariantList{kFilial,
                               i.comanda,
                               i.numero,
                               i.venda,
                               i.produto,
                               i.quantidade,
                               i.preco,
                               i.desconto,
                               i.acrescimo,
                               textOrNull(cancelled ? QStringLiteral("Desistência do cliente") : i.texto),
                               i.estado,
                               i.entrada,
                               QStringLiteral("N"),
                               textOrNull(i.grupoCombo),
                               textOrNull(i.pai),
                               textOrNull(i.promocao),
                               i.vendedor,
                               i.lugar,
                               textOrNull(i.beneficio),
                               i.divideConta,
                               i.refil,
                               cancelled ? QVariant(QStringLiteral("01")) : QVariant(),
                               cancelled ? QVariant(QStringLiteral("0001")) : QVariant(),
                               cancelled ? QVariant(QStringLiteral("0003")) : QVariant(),
                               cancelled ? QVariant(i.entrada.addSecs(600)) : QVariant(),
                               QStringLiteral("S%1").arg(i.comanda),
                               textOrNull(i.mesa),
                               kLoja,
                               kLoja};
    }
    w.rows(QStringLiteral("ITCOMANDAVEN"),
           {QStringLiteral("CDFILIAL"),        QStringLiteral("NRCOMANDA"),     QStringLiteral("NRPRODCOMVEN"),
            QStringLiteral("NRVENDAREST"),     QStringLiteral("CDPRODUTO"),     QStringLiteral("QTPRODCOMVEN"),
            QStringLiteral("VRPRECCOMVEN"),    QStringLiteral("VRDESCCOMVEN"),  QStringLiteral("VRACRCOMVEN"),
            QStringLiteral("TXPRODCOMVEN"),    QStringLiteral("IDSTPRCOMVEN"),  QStringLiteral("DTHRINCOMVEN"),
            QStringLiteral("IDPRODIMPFIS"),    QStringLiteral("NRSEQPRODCOM"),  QStringLiteral("NRSEQPRODPAI"),
            QStringLiteral("CDPRODPROMOCAO"),  QStringLiteral("CDVENDEDOR"),    QStringLiteral("NRLUGARMESA"),
            QStringLiteral("NRSEQBENECONSIT"), QStringLiteral("IDDIVIDECONTA"), QStringLiteral("IDPRODREFIL"),
            QStringLiteral("CDGRPOCOR"),       QStringLiteral("CDSUPERVISOR"),  QStringLiteral("CDOPERCANC"),
            QStringLiteral("DTHRPRODCANVEN"),  QStringLiteral("CDSENHAPED"),    QStringLiteral("NRMESAORIG"),
            QStringLiteral("CDLOJAORIG"),      QStringLiteral("CDLOJA")},
           values);

    // Production rows: the items of the combo and of the delivery order go
    // through the alternative table, the others through the ordinary one.
    QList<QVariantList> ordinary, alternative;
    for (const Item& i : items) {
        if (i.refil == QLatin1String("S"))
            continue;
        const bool cancelled = i.estado == kEstadoCancelado;
        const QString situacao = cancelled ? QStringLiteral("C") : QStringLiteral("P");
        if (!i.grupoCombo.isEmpty() || i.comanda == QLatin1String("9001"))
            alternative << QVariantList{kFilial, i.venda, i.comanda, i.numero, situacao, i.quantidade};
        else
            ordinary << QVariantList{kFilial,     i.venda,  i.comanda,
                                     i.numero,    situacao, cancelled ? QVariant(i.entrada.addSecs(600)) : QVariant(),
                                     i.quantidade};
    }
    w.rows(QStringLiteral("ITPEDIDOQRV"),
           {QStringLiteral("CDFILIAL"), QStringLiteral("NRVENDAREST"), QStringLiteral("NRCOMANDA"),
            QStringLiteral("NRPRODCOMVEN"), QStringLiteral("IDSITITPEDQRV"), QStringLiteral("DTCANCITPED"),
            QStringLiteral("QTPRODPEQRV")},
           ordinary);
    w.rows(QStringLiteral("ITPEDIDOQRVREL"),
           {QStringLiteral("CDFILIAL"), QStringLiteral("NRVENDAREST"), QStringLiteral("NRCOMANDA"),
            QStringLiteral("NRPRODCOMVEN"), QStringLiteral("IDSITITPEDQRV"), QStringLiteral("QTPRODPEQRV")},
           alternative);
}

void addStoreSetup(Writer& w)
{
    w.rows(QStringLiteral("LOJA"),
           {QStringLiteral("CDFILIAL"), QStringLiteral("CDLOJA"), QStringLiteral("NMLOJA"),
            QStringLiteral("CDGRPOCORCAN")},
           {{kFilial, kLoja, QStringLiteral("Restaurante Sabor da Praça"), QStringLiteral("01")}});
    w.rows(QStringLiteral("PARAMGERAL"), {QStringLiteral("IDINFPRODPRODUZ")}, {{QStringLiteral("S")}});
    w.rows(QStringLiteral("VENDEDOR"),
           {QStringLiteral("CDVENDEDOR"), QStringLiteral("NMFANVEN"), QStringLiteral("NRINSJURVEN")},
           {{QStringLiteral("0007"), QStringLiteral("Joaquim Araújo"), QStringLiteral("123.456.789-09")},
            {QStringLiteral("0012"), QStringLiteral("Conceição Brandão"), QStringLiteral("987.654.321-00")}});

    w.rows(QStringLiteral("IMPRESSORA"),
           {QStringLiteral("CDIMPRESSORA"), QStringLiteral("NMIMPRESSORA"), QStringLiteral("IDMODEIMPRES")},
           {{QStringLiteral("TERM80"), QStringLiteral("Térmica 80 mm"), QStringLiteral("1")},
            {QStringLiteral("TERM58"), QStringLiteral("Térmica 58 mm"), QStringLiteral("2")}});
    w.rows(QStringLiteral("MAPIMPRLOJA"), {QStringLiteral("CDPORTAIMPR"), QStringLiteral("DSENDPORTA")},
           {{QStringLiteral("COZ"), QStringLiteral("127.0.0.1:9100")},
            {QStringLiteral("BAR"), QStringLiteral("127.0.0.1:9101")},
            {QStringLiteral("EXP"), QStringLiteral("127.0.0.1:9102")},
            {QStringLiteral("CXA"), QStringLiteral("127.0.0.1:9103")},
            {QStringLiteral("COZBK"), QStringLiteral("127.0.0.1:9110")},
            {QStringLiteral("BARBK"), QStringLiteral("127.0.0.1:9111")}});
    const QStringList imprCols = {QStringLiteral("CDFILIAL"),      QStringLiteral("CDLOJA"),
                                  QStringLiteral("NRSEQIMPRLOJA"), QStringLiteral("NMIMPRLOJA"),
                                  QStringLiteral("CDPORTAIMPR"),   QStringLiteral("CDIMPRESSORA")};
    w.rows(QStringLiteral("IMPRLOJA"), imprCols,
           {{kFilial, kLoja, QStringLiteral("01"), QStringLiteral("Cozinha"), QStringLiteral("COZ"),
             QStringLiteral("TERM80")},
            {kFilial, kLoja, QStringLiteral("02"), QStringLiteral("Bar"), QStringLiteral("BAR"),
             QStringLiteral("TERM80")},
            {kFilial, kLoja, QStringLiteral("03"), QStringLiteral("Expedição"), QStringLiteral("EXP"),
             QStringLiteral("TERM58")},
            {kFilial, kLoja, QStringLiteral("04"), QStringLiteral("Caixa"), QStringLiteral("CXA"),
             QStringLiteral("TERM58")},
            {kFilial, kLoja, QStringLiteral("05"), QStringLiteral("Cozinha reserva"), QStringLiteral("COZBK"),
             QStringLiteral("TERM80")},
            {kFilial, kLoja, QStringLiteral("06"), QStringLiteral("Bar reserva"), QStringLiteral("BARBK"),
             QStringLiteral("TERM80")}});
    w.rows(QStringLiteral("CAIXA"),
           {QStringLiteral("CDFILIAL"), QStringLiteral("CDCAIXA"), QStringLiteral("CDLOJA"),
            QStringLiteral("NRSEQIMPRLOJA1"), QStringLiteral("NRSEQIMPRLOJA1BK"), QStringLiteral("NRSEQIMPRLOJA2"),
            QStringLiteral("NRSEQIMPRLOJA2BK"), QStringLiteral("NRSEQIMPRLOJA5"), QStringLiteral("NRSEQIMPRLOJA5BK"),
            QStringLiteral("IDIMPCANPEDINT")},
           {{kFilial, kCaixa, kLoja, QStringLiteral("04"), QStringLiteral("03"), QStringLiteral("01"),
             QStringLiteral("05"), QStringLiteral("02"), QStringLiteral("06"), QStringLiteral("S")},
            {kFilial, QStringLiteral("002"), kLoja, QStringLiteral("04"), QVariant(), QStringLiteral("01"), QVariant(),
             QStringLiteral("02"), QVariant(), QStringLiteral("N")}});

    // Cancellation reasons (group 01, the store's) and preparation notes (group 02).
    w.rows(QStringLiteral("GRUPOCOR"), {QStringLiteral("CDGRPOCOR"), QStringLiteral("DSGRPOCOR")},
           {{QStringLiteral("01"), QStringLiteral("Motivos de cancelamento")},
            {QStringLiteral("02"), QStringLiteral("Observações de preparo")}});
    const QStringList ocCols = {QStringLiteral("CDGRPOCOR"),  QStringLiteral("CDOCORR"),
                                QStringLiteral("CDTIPRISCO"), QStringLiteral("DSOCORR"),
                                QStringLiteral("CDPRODUTO"),  QStringLiteral("IDCONTROLAOBS")};
    w.rows(QStringLiteral("OCORRENCIA"), ocCols,
           {{QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("Desistência do cliente"),
             QVariant(), QVariant()},
            {QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("02"), QStringLiteral("Produto lançado errado"),
             QVariant(), QVariant()},
            {QStringLiteral("01"), QStringLiteral("03"), QStringLiteral("01"), QStringLiteral("Demora no preparo"),
             QVariant(), QVariant()},
            {QStringLiteral("01"), QStringLiteral("04"), QStringLiteral("03"), QStringLiteral("Produto com defeito"),
             QVariant(), QVariant()},
            {QStringLiteral("02"), QStringLiteral("01"), QVariant(), QStringLiteral("Sem cebola"), QVariant(),
             QStringLiteral("N")},
            {QStringLiteral("02"), QStringLiteral("02"), QVariant(), QStringLiteral("Adicional de bacon"),
             QStringLiteral("1011"), QStringLiteral("A")},
            {QStringLiteral("02"), QStringLiteral("03"), QVariant(), QStringLiteral("Ponto da carne: mal passado"),
             QVariant(), QStringLiteral("N")}});
    w.rows(QStringLiteral("PRODOCORRE"),
           {QStringLiteral("CDPRODUTO"), QStringLiteral("CDGRPOCOR"), QStringLiteral("CDOCORR")},
           {{QStringLiteral("1001"), QStringLiteral("01"), QStringLiteral("01")},
            {QStringLiteral("1001"), QStringLiteral("01"), QStringLiteral("02")},
            {QStringLiteral("1001"), QStringLiteral("01"), QStringLiteral("03")},
            {QStringLiteral("1003"), QStringLiteral("01"), QStringLiteral("03")},
            {QStringLiteral("1003"), QStringLiteral("01"), QStringLiteral("04")},
            {QStringLiteral("2001"), QStringLiteral("01"), QStringLiteral("01")},
            {QStringLiteral("2001"), QStringLiteral("01"), QStringLiteral("02")}});
}

void addProducts(Writer& w)
{
    struct P {
        const char* code;
        QString name;
        QString fiscal;
        const char* tree;
        const char* weighed;
        const char* type;
        const char* level;
        const char* printer; // NRSEQIMPRPROD; empty: not produced
        const char* printer2; // NRSEQIMPRPROD2
        const char* puxa; // NRSEQIMPRPUXA
    };
    const QList<P> products = {
        {"G01", QStringLiteral("Pratos"), {}, "01", "N", "", "1", "", "", ""},
        {"G02", QStringLiteral("Bebidas"), {}, "02", "N", "", "1", "", "", ""},
        {"G03", QStringLiteral("Sobremesas"), {}, "03", "N", "", "1", "", "", ""},
        {"1001", QStringLiteral("Filé à parmegiana"), {}, "0101001", "N", "1", "3", "01", "", ""},
        {"1002", QStringLiteral("Feijoada completa"), QStringLiteral("Feijoada completa (serve 2)"), "0101002", "N",
         "2", "3", "01", "", ""},
        {"1003", QStringLiteral("Picanha na chapa"), {}, "0101003", "N", "1", "3", "01", "03", ""},
        {"1004", QStringLiteral("Batata frita"), {}, "0101004", "N", "1", "3", "01", "", ""},
        {"1005", QStringLiteral("Farofa de ovos"), {}, "0101005", "N", "1", "3", "01", "", ""},
        {"1006", QStringLiteral("Arroz branco"), {}, "0101006", "N", "1", "3", "01", "", ""},
        {"1007", QStringLiteral("Couve refogada"), {}, "0101007", "N", "1", "3", "01", "", ""},
        {"1008", QStringLiteral("Laranja em gomos"), {}, "0101008", "N", "1", "3", "", "", ""},
        {"1009", QStringLiteral("Filé de frango grelhado"), {}, "0101009", "N", "1", "3", "01", "", ""},
        {"1010", QStringLiteral("Hambúrguer artesanal"), {}, "0101010", "N", "1", "3", "01", "", "04"},
        {"1011", QStringLiteral("Bacon adicional"), {}, "0101011", "N", "1", "3", "01", "", ""},
        {"2001", QStringLiteral("Caipirinha de limão"), {}, "0201001", "N", "1", "3", "02", "03", ""},
        {"2002", QStringLiteral("Guaraná lata"), {}, "0201002", "N", "1", "3", "", "", ""},
        {"2003", QStringLiteral("Água mineral sem gás"), {}, "0201003", "N", "1", "3", "", "", ""},
        {"2004", QStringLiteral("Suco de maracujá"), {}, "0201004", "N", "1", "3", "02", "", ""},
        {"2005", QStringLiteral("Refil de refrigerante"), {}, "0201005", "N", "1", "3", "02", "", ""},
        {"2006", QStringLiteral("Chope claro 300 ml"), {}, "0201006", "N", "1", "3", "02", "", ""},
        {"3001", QStringLiteral("Pudim de leite condensado"), {}, "0301001", "N", "1", "3", "01", "", "04"},
        {"3002", QStringLiteral("Açaí no peso"), {}, "0301002", "S", "1", "3", "01", "", ""},
        {"9001", QStringLiteral("Combo Executivo"), {}, "0401001", "N", "3", "3", "", "", ""},
        {"9002", QStringLiteral("Couvert artístico"), {}, "0401002", "N", "1", "3", "", "", ""},
        {"9003", QStringLiteral("Consumação mínima"), {}, "0401003", "N", "1", "3", "", "", ""},
    };
    QList<QVariantList> produto, prodloja;
    const QMap<QString, QString> ports = {{QStringLiteral("01"), QStringLiteral("COZ")},
                                          {QStringLiteral("02"), QStringLiteral("BAR")}};
    const QMap<QString, QString> addresses = {{QStringLiteral("01"), QStringLiteral("127.0.0.1:9100")},
                                              {QStringLiteral("02"), QStringLiteral("127.0.0.1:9101")}};
    for (const P& p : products) {
        const QString code = QString::fromLatin1(p.code);
        produto << QVariantList{code,
                                p.name,
                                textOrNull(p.fiscal),
                                QString::fromLatin1(p.tree),
                                QString::fromLatin1(p.weighed),
                                textOrNull(QString::fromLatin1(p.type)),
                                QString::fromLatin1(p.level)};
        if (code.startsWith(QLatin1Char('G')))
            continue;
        const QString printer = QString::fromLatin1(p.printer);
        prodloja << QVariantList{kFilial,
                                 kLoja,
                                 code,
                                 textOrNull(ports.value(printer)),
                                 textOrNull(addresses.value(printer)),
                                 printer.isEmpty() ? QStringLiteral("N") : QStringLiteral("S"),
                                 textOrNull(printer),
                                 textOrNull(QString::fromLatin1(p.printer2)),
                                 textOrNull(QString::fromLatin1(p.puxa))};
    }
    w.rows(QStringLiteral("PRODUTO"),
           {QStringLiteral("CDPRODUTO"), QStringLiteral("NMPRODUTO"), QStringLiteral("NMPRODIMPFIS"),
            QStringLiteral("CDARVPROD"), QStringLiteral("IDPESAPROD"), QStringLiteral("IDTIPOCOMPPROD"),
            QStringLiteral("CDNVPRODUTO")},
           produto);
    w.rows(QStringLiteral("PRODLOJA"),
           {QStringLiteral("CDFILIAL"), QStringLiteral("CDLOJA"), QStringLiteral("CDPRODUTO"),
            QStringLiteral("CDPORIMPPROD"), QStringLiteral("DSENDIMPPROD"), QStringLiteral("IDIMPCANITEM"),
            QStringLiteral("NRSEQIMPRPROD"), QStringLiteral("NRSEQIMPRPROD2"), QStringLiteral("NRSEQIMPRPUXA")},
           prodloja);
}

void addTablesAndOrders(Writer& w)
{
    w.rows(QStringLiteral("MESA"),
           {QStringLiteral("CDFILIAL"), QStringLiteral("CDLOJA"), QStringLiteral("NRMESA"),
            QStringLiteral("IDSTMESAAUX")},
           {{kFilial, kLoja, QStringLiteral("05"), QStringLiteral("L")},
            {kFilial, kLoja, QStringLiteral("10"), QStringLiteral("O")},
            {kFilial, kLoja, QStringLiteral("11"), QStringLiteral("O")},
            {kFilial, kLoja, QStringLiteral("12"), QStringLiteral("R")}});
    w.rows(QStringLiteral("JUNCAOMESA"),
           {QStringLiteral("CDFILIAL"), QStringLiteral("CDLOJA"), QStringLiteral("NRJUNMESA")},
           {{kFilial, kLoja, QStringLiteral("1")}});
    w.rows(QStringLiteral("MESAJUNCAO"),
           {QStringLiteral("CDFILIAL"), QStringLiteral("CDLOJA"), QStringLiteral("NRJUNMESA"),
            QStringLiteral("NRMESA")},
           {{kFilial, kLoja, QStringLiteral("1"), QStringLiteral("10")},
            {kFilial, kLoja, QStringLiteral("1"), QStringLiteral("11")}});

    w.rows(QStringLiteral("VENDAREST"),
           {QStringLiteral("CDFILIAL"), QStringLiteral("NRVENDAREST"), QStringLiteral("CDLOJA"),
            QStringLiteral("NRMESA"), QStringLiteral("CDOPERADOR"), QStringLiteral("DTHRABERMESA"),
            QStringLiteral("DTHRFECHMESA"), QStringLiteral("CDVENDEDOR")},
           {{kFilial, QStringLiteral("0000000090"), kLoja, QStringLiteral("05"), QStringLiteral("0003"), at(11, 30),
             at(12, 40), QStringLiteral("0012")},
            {kFilial, QStringLiteral("0000000101"), kLoja, QStringLiteral("10"), QStringLiteral("0003"), at(12, 5),
             QVariant(), QStringLiteral("0007")},
            {kFilial, QStringLiteral("0000000102"), kLoja, QStringLiteral("11"), QStringLiteral("0003"), at(12, 20),
             QVariant(), QStringLiteral("0012")},
            {kFilial, QStringLiteral("0000000103"), kLoja, QStringLiteral("12"), QStringLiteral("0003"), at(12, 25),
             QVariant(), QStringLiteral("0007")},
            {kFilial, QStringLiteral("0000000104"), kLoja, QVariant(), QStringLiteral("0003"), at(12, 30), QVariant(),
             QStringLiteral("0012")},
            {kFilial, QStringLiteral("0000000105"), kLoja, QVariant(), QStringLiteral("0003"), at(12, 45), QVariant(),
             QStringLiteral("0007")}});
    w.rows(QStringLiteral("COMANDAVEN"),
           {QStringLiteral("CDFILIAL"), QStringLiteral("NRCOMANDA"), QStringLiteral("NRVENDAREST"),
            QStringLiteral("DSCOMANDA"), QStringLiteral("IDSTCOMANDA"), QStringLiteral("VRACRCOMANDA"),
            QStringLiteral("CDLOJA")},
           {{kFilial, QStringLiteral("0590"), QStringLiteral("0000000090"), QStringLiteral("RES_05"),
             QStringLiteral("3"), 5.89, kLoja},
            {kFilial, QStringLiteral("1010"), QStringLiteral("0000000101"), QStringLiteral("RES_10"),
             QStringLiteral("2"), 35.72, kLoja},
            {kFilial, QStringLiteral("1011"), QStringLiteral("0000000101"), QStringLiteral("RES_10B"),
             QStringLiteral("2"), 11.18, kLoja},
            {kFilial, QStringLiteral("1110"), QStringLiteral("0000000102"), QStringLiteral("RES_11"),
             QStringLiteral("3"), 5.24, kLoja},
            {kFilial, QStringLiteral("1210"), QStringLiteral("0000000103"), QStringLiteral("RES_12"),
             QStringLiteral("1"), 0.0, kLoja},
            {kFilial, QStringLiteral("0501"), QStringLiteral("0000000104"), QStringLiteral("CMD_0501"),
             QStringLiteral("2"), 0.0, kLoja},
            {kFilial, QStringLiteral("9001"), QStringLiteral("0000000105"), QStringLiteral("DLV_9001"),
             QStringLiteral("2"), 0.0, kLoja}});

    const QString v90 = QStringLiteral("0000000090"), v101 = QStringLiteral("0000000101"),
                  v102 = QStringLiteral("0000000102"), v103 = QStringLiteral("0000000103"),
                  v104 = QStringLiteral("0000000104"), v105 = QStringLiteral("0000000105");
    auto item = [](const char* comanda, const QString& venda, const char* numero, const char* produto, double qt,
                   double preco, const char* estado, QDateTime entrada) {
        Item i;
        i.comanda = QString::fromLatin1(comanda);
        i.venda = venda;
        i.numero = QString::fromLatin1(numero);
        i.produto = QString::fromLatin1(produto);
        i.quantidade = qt;
        i.preco = preco;
        i.estado = QString::fromLatin1(estado);
        i.entrada = entrada;
        return i;
    };

    QList<Item> items;
    // Tab 1010, table 10: every item state, a parent with two children, a
    // composite product, a benefit, a refill, the cover charge, a split bill.
    items << item("1010", v101, "000001", "2001", 2, 24.00, "4", at(12, 8));
    items << item("1010", v101, "000002", "1001", 1, 58.90, "3", at(12, 10));
    Item parent = item("1010", v101, "000003", "1003", 1, 79.90, "2", at(12, 12));
    parent.lugar = QStringLiteral("02");
    parent.texto = QStringLiteral("Ao ponto");
    items << parent;
    for (auto [numero, produto, preco] : {std::tuple{"000004", "1004", 22.00}, std::tuple{"000005", "1005", 12.00}}) {
        Item child = item("1010", v101, numero, produto, 1, preco, "2", at(12, 12));
        child.pai = QStringLiteral("000003");
        child.lugar = QStringLiteral("02");
        items << child;
    }
    items << item("1010", v101, "000006", "2002", 3, 7.50, "6", at(12, 14));
    Item feijoada = item("1010", v101, "000007", "1002", 1, 64.50, "1", at(12, 30));
    feijoada.desconto = 6.45;
    feijoada.lugar = QStringLiteral("03");
    items << feijoada;
    items << item("1010", v101, "000008", "2006", 4, 13.90, "7", at(12, 32));
    Item suco = item("1010", v101, "000009", "2004", 1, 12.00, "1", at(12, 33));
    suco.beneficio = QStringLiteral("0000000001");
    items << suco;
    Item refil = item("1010", v101, "000010", "2005", 1, 0.00, "4", at(12, 40));
    refil.refil = QStringLiteral("S");
    items << refil;
    items << item("1010", v101, "000011", "9002", 2, 15.00, "4", at(12, 6));
    Item dividido = item("1010", v101, "000012", "1010", 1, 42.00, "3", at(12, 35));
    dividido.divideConta = QStringLiteral("S");
    dividido.acrescimo = 4.20;
    items << dividido;

    // Tab 1011, also on table 10: a combo and an additional item.
    for (auto [numero, produto, preco] : {std::tuple{"000001", "1009", 39.90}, std::tuple{"000002", "2004", 9.90},
                                          std::tuple{"000003", "3001", 8.00}}) {
        Item combo = item("1011", v101, numero, produto, 1, preco, "2", at(12, 50));
        combo.grupoCombo = QStringLiteral("001");
        combo.promocao = QStringLiteral("9001");
        combo.vendedor = QStringLiteral("0012");
        items << combo;
    }
    items << item("1011", v101, "000004", "1010", 1, 42.00, "1", at(12, 55));
    items << item("1011", v101, "000005", "1011", 1, 6.50, "1", at(12, 55));
    Item agua = item("1011", v101, "000006", "2003", 1, 5.00, "4", at(12, 56));
    agua.divideConta = QStringLiteral("S");
    items << agua;

    // Tab 1110, table 11 (joined with 10).
    items << item("1110", v102, "000001", "2001", 1, 24.00, "3", at(12, 22));
    Item acai = item("1110", v102, "000002", "3002", 0.355, 79.90, "3", at(12, 24));
    items << acai;
    items << item("1110", v102, "000003", "2002", 1, 7.50, "6", at(12, 26));

    // Tab 1210, table 12, which is being received at another till.
    items << item("1210", v103, "000001", "1001", 1, 58.90, "1", at(12, 27));

    // Tab 0501 without a table.
    items << item("0501", v104, "000001", "1010", 2, 42.00, "2", at(12, 31));
    items << item("0501", v104, "000002", "1011", 2, 6.50, "2", at(12, 31));
    items << item("0501", v104, "000003", "2006", 1, 13.90, "1", at(12, 36));
    items << item("0501", v104, "000004", "2002", 1, 7.50, "6", at(12, 37));

    // Delivery order 9001.
    items << item("9001", v105, "000001", "1002", 1, 64.50, "2", at(12, 46));
    items << item("9001", v105, "000002", "2002", 2, 7.50, "1", at(12, 46));
    items << item("9001", v105, "000003", "3001", 1, 16.00, "1", at(12, 46));

    // Closed sale: nothing to list.
    items << item("0590", v90, "000001", "1001", 1, 58.90, "4", at(11, 35));

    addItems(w, items);

    const QStringList estCols = {QStringLiteral("CDFILIAL"),      QStringLiteral("NRVENDAREST"),
                                 QStringLiteral("NRCOMANDA"),     QStringLiteral("NRPRODCOMVEN"),
                                 QStringLiteral("CDPRODUTO"),     QStringLiteral("QTPROCOMEST"),
                                 QStringLiteral("IDIMPPRGRPROMO")};
    QList<QVariantList> components;
    for (auto [comanda, venda, numero] : {std::tuple{"1010", v101, "000007"}, std::tuple{"9001", v105, "000001"}}) {
        for (auto [produto, quantidade, imprime] :
             {std::tuple{"1006", 1.0, "N"}, std::tuple{"1007", 1.0, "N"}, std::tuple{"1008", 0.5, "S"}})
            components << QVariantList{kFilial,
                                       venda,
                                       QString::fromLatin1(comanda),
                                       QString::fromLatin1(numero),
                                       QString::fromLatin1(produto),
                                       quantidade,
                                       QString::fromLatin1(imprime)};
    }
    w.rows(QStringLiteral("ITCOMANDAEST"), estCols, components);

    w.rows(QStringLiteral("OBSITCOMANDAVEN"),
           {QStringLiteral("CDFILIAL"), QStringLiteral("NRVENDAREST"), QStringLiteral("NRCOMANDA"),
            QStringLiteral("NRPRODCOMVEN"), QStringLiteral("CDGRPOCOR"), QStringLiteral("CDOCORR")},
           {{kFilial, v101, QStringLiteral("1011"), QStringLiteral("000004"), QStringLiteral("02"),
             QStringLiteral("02")}});

    w.rows(QStringLiteral("MOVCAIXAMOB"),
           {QStringLiteral("CDFILIAL"), QStringLiteral("NRCOMANDA"), QStringLiteral("VRMOV")},
           {{kFilial, QStringLiteral("1010"), 50.00}, {kFilial, QStringLiteral("1010"), 30.00}});

    const QStringList benefit = {QStringLiteral("000123"), QStringLiteral("0001"), QStringLiteral("FIDELIDADE"),
                                 QStringLiteral("001"), QStringLiteral("01")};
    w.rows(QStringLiteral("MOVBENEFICIOCONS"),
           {QStringLiteral("NRSEQBENECONS"), QStringLiteral("CDFILIAL"), QStringLiteral("CDCAIXA"),
            QStringLiteral("CDCLIENTE"), QStringLiteral("CDCONSUMIDOR"), QStringLiteral("CDCAMPANHA"),
            QStringLiteral("NRSEQPRODCAMP"), QStringLiteral("NRSEQBENEFICIO")},
           {{QStringLiteral("0000000001"), kFilial, kCaixa, benefit[0], benefit[1], benefit[2], benefit[3],
             benefit[4]}});
    w.rows(QStringLiteral("MOVBENEFICIOCTR"),
           {QStringLiteral("CDCLIENTE"), QStringLiteral("CDCONSUMIDOR"), QStringLiteral("CDCAMPANHA"),
            QStringLiteral("NRSEQPRODCAMP"), QStringLiteral("NRSEQBENEFICIO"), QStringLiteral("QTDEBENEFICIO")},
           {{benefit[0], benefit[1], benefit[2], benefit[3], benefit[4], 2.0}});
}

} // namespace

QStringList LoadDemoData(TADOConnection& connection)
{
    Writer w(connection);
    addStoreSetup(w);
    addProducts(w);
    addTablesAndOrders(w);

    int total = 0;
    for (int n : w.counts())
        total += n;
    QStringList lines;
    lines << QStringLiteral("Dados de demonstração: filial %1, loja %2, caixa %3 (%4 linhas em %5 tabelas).")
                 .arg(kFilial, kLoja, kCaixa)
                 .arg(total)
                 .arg(w.counts().size());
    lines << QStringLiteral("Comandas para experimentar (comanda, modo, mesa):");
    lines << QStringLiteral(
        "  1010  RES  mesa 10  itens em todos os estados, pai com dois filhos (000003), produto composto,");
    lines << QStringLiteral(
        "                      conta dividida, benefício, refil oculto; adiantamentos de R$ 80,00;");
    lines << QStringLiteral(
        "                      a mesa 10 está juntada com a 11 e lista também as comandas 1011 e 1110");
    lines << QStringLiteral("  1011  RES  mesa 10  combo (grupo 001, promoção 9001) e item adicional (000005)");
    lines << QStringLiteral("  1110  RES  mesa 11  produto pesado, item cancelado");
    lines << QStringLiteral("  1210  RES  mesa 12  mesa em recebimento em outro caixa: o cancelamento é bloqueado");
    lines << QStringLiteral("  0501  CMD           comanda sem mesa");
    lines << QStringLiteral("  9001  DLV           pedido de entrega; com o modo DLV_T cancela todos os itens");
    lines << QStringLiteral("  0590  RES  mesa 05  venda já fechada: a lista vem vazia");
    lines << QStringLiteral("Código do couvert: 9002; consumação: 9003.");
    return lines;
}
