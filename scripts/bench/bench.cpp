// kvp-bench DATABASE --items N [--rounds R] [--keep]
//
// Fills a fresh database with N item lines (scripts/bench/SalesData) and the
// orders it measures, then times, in this one process, the module's own path
// against the same statements with the same values run straight through Qt
// SQL, and prints the ratio of the medians of paired rounds:
//   - opening a tab and a table of 20 and of 500 items: the package's entry up
//     to the window shown with its list; the floor is the statements of that
//     opening, replayed, plus showing the same window empty;
//   - each server write over 50 items (50 calls, one per item);
//   - the cancellation command over 50 marked items of a tab (the button
//     pressed in the window, host services answering at once);
//   - the first call of the entry (new connection) against the next ones;
//   - kvp-bench --memory: the peak memory of the till with a 500-item tab open.
// The statements of the module's path are taken as they are sent (SetADOTrace)
// and replayed on a connection of the bench's own, each prepared once.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <sys/resource.h>

#include "ArquivosDemo.h"
#include "CamposItem.h"
#include "Cli_kvp00917.h"
#include "Connection.h"
#include "DBGrid.h"
#include "Exception.h"
#include "FrmCancelaProd.h"
#include "HostServices.h"
#include "Mensagem.h"
#include "Pkg_kvp00917.h"
#include "RdmCancelaProd.h"
#include "SalesData.h"
#include "Schema.h"
#include "Srv_kvp00917.h"
#include "Wdc00001.h"
#include "Wdc00002.h"

namespace {

QTextStream out(stdout);

const QString kFilial = QStringLiteral("0001");
const QString kCaixa = QStringLiteral("001");
const QString kVendaBench = QStringLiteral("9000000001");
constexpr int kItensEscrita = 50;
// The tabs of the cancellation command follow those of the five writes: one
// unit each of a plain product that has reasons and a production printer.
constexpr int kTabCancelamento = 5;
const QString kProdutoCancelamento = QStringLiteral("'000021'");

// --- orders of the bench ---------------------------------------------------

struct Pedido {
    QString nome, comanda, dsComanda, modo, mesa;
};

// Tabs of 20 and 500 items on tables 9001 and 9002 (each joined with an empty
// table), and one 50-item tab per write, side and round.
QString tabEscrita(int escrita, int lado, int rodada)
{
    return QStringLiteral("93%1%2%3").arg(escrita).arg(lado).arg(rodada, 6, 10, QLatin1Char('0'));
}

// Item lines 1..n of a tab; by default of many products, two of each.
void itens(SalesFiller& f, const QString& comanda, const QString& venda, int n, bool comPedido,
           const QString& produto = QString(), int quantidade = 2)
{
    const QString key = QStringLiteral("'0001', '%1', %2, '%3'").arg(comanda, f.pad(QStringLiteral("I"), 6), venda);
    f.series(QStringLiteral("ITCOMANDAVEN"),
             QStringLiteral("CDFILIAL, NRCOMANDA, NRPRODCOMVEN, NRVENDAREST, CDPRODUTO, QTPRODCOMVEN, VRPRECCOMVEN, "
                            "VRDESCCOMVEN, VRACRCOMVEN, IDSTPRCOMVEN, DTHRINCOMVEN, IDPRODREFIL, IDDIVIDECONTA, "
                            "CDVENDEDOR, NRLUGARMESA, CDLOJA, TXPRODCOMVEN, NRSEQPRODCOM"),
             key
                 + QStringLiteral(
                       ", %1, %4, 10.5, 0, 0.1, CAST(I % 3 + 1 AS VARCHAR(1)), %2, 'N', 'N', '0001', '01', '01', "
                       "'sem cebola', %3")
                       .arg(produto.isEmpty() ? f.pad(QStringLiteral("I % 2000 + 1"), 6) : produto,
                            f.stamp(QStringLiteral("I")), f.pad(QStringLiteral("I / 4"), 3),
                            QString::number(quantidade)),
             n);
    if (comPedido)
        f.series(QStringLiteral("ITPEDIDOQRV"),
                 QStringLiteral("CDFILIAL, NRCOMANDA, NRPRODCOMVEN, NRVENDAREST, IDSITITPEDQRV, QTPRODPEQRV"),
                 key + QStringLiteral(", 'P', 2"), n);
}

QList<Pedido> criaPedidos(TADOConnection& c, qint64 items, int rodadas)
{
    SalesFiller f{c, c.Dialect(), false};
    const auto ins = [&c](const QString& sql) { c.Execute(sql); };
    // Tables 9001 and 9002 have served all year, as the filled ones have
    // (items / 4000 closed sales each): opening one must not read them all.
    for (const auto& [mesa, prefixo] : {std::pair{"9001", "8"}, {"9002", "7"}})
        f.series(QStringLiteral("VENDAREST"),
                 QStringLiteral(
                     "CDFILIAL, NRVENDAREST, CDLOJA, NRMESA, CDOPERADOR, DTHRABERMESA, DTHRFECHMESA, CDVENDEDOR"),
                 QStringLiteral("'0001', '%1' || %2, '01', '%3', '0001', %4, %5, '0001'")
                     .arg(QLatin1String(prefixo), f.pad(QStringLiteral("I"), 9), QLatin1String(mesa),
                          f.stamp(QStringLiteral("I")), f.stamp(QStringLiteral("I + 90"))),
                 qMax<qint64>(items / 4000, 1));
    ins(QStringLiteral(
            "INSERT INTO VENDAREST (CDFILIAL, NRVENDAREST, CDLOJA, NRMESA, CDOPERADOR, DTHRABERMESA, CDVENDEDOR) "
            "VALUES ('0001', '9000000001', '01', '9001', '0001', %1, '0001')")
            .arg(f.stamp(QStringLiteral("0"))));
    ins(QStringLiteral(
            "INSERT INTO VENDAREST (CDFILIAL, NRVENDAREST, CDLOJA, NRMESA, CDOPERADOR, DTHRABERMESA, CDVENDEDOR) "
            "VALUES ('0001', '9000000002', '01', '9002', '0001', %1, '0001')")
            .arg(f.stamp(QStringLiteral("0"))));
    for (const QString& mesa :
         {QStringLiteral("9001"), QStringLiteral("9002"), QStringLiteral("9003"), QStringLiteral("9004")})
        ins(QStringLiteral("INSERT INTO MESA (CDFILIAL, CDLOJA, NRMESA, IDSTMESAAUX) VALUES ('0001', '01', '%1', 'O')")
                .arg(mesa));
    ins(QStringLiteral("INSERT INTO JUNCAOMESA (CDFILIAL, CDLOJA, NRJUNMESA) VALUES ('0001', '01', '9001')"));
    ins(QStringLiteral("INSERT INTO JUNCAOMESA (CDFILIAL, CDLOJA, NRJUNMESA) VALUES ('0001', '01', '9002')"));
    for (const auto& [jun, mesa] : {std::pair{"9001", "9001"}, {"9001", "9004"}, {"9002", "9002"}, {"9002", "9003"}})
        ins(QStringLiteral(
                "INSERT INTO MESAJUNCAO (CDFILIAL, CDLOJA, NRJUNMESA, NRMESA) VALUES ('0001', '01', '%1', '%2')")
                .arg(QLatin1String(jun), QLatin1String(mesa)));
    const auto comanda = [&](const QString& nr, const QString& venda, const QString& ds) {
        ins(QStringLiteral("INSERT INTO COMANDAVEN (CDFILIAL, NRCOMANDA, NRVENDAREST, DSCOMANDA, IDSTCOMANDA, "
                           "VRACRCOMANDA, CDLOJA) "
                           "VALUES ('0001', '%1', '%2', '%3', '1', 5, '01')")
                .arg(nr, venda, ds));
    };
    comanda(QStringLiteral("9100000020"), QStringLiteral("9000000001"), QStringLiteral("RES_9001"));
    itens(f, QStringLiteral("9100000020"), QStringLiteral("9000000001"), 20, false);
    comanda(QStringLiteral("9100000500"), QStringLiteral("9000000002"), QStringLiteral("RES_9002"));
    itens(f, QStringLiteral("9100000500"), QStringLiteral("9000000002"), 500, false);

    for (int escrita = 0; escrita <= kTabCancelamento; ++escrita)
        for (int lado = 0; lado < 2; ++lado)
            for (int r = 0; r < rodadas; ++r) {
                const QString nr = tabEscrita(escrita, lado, r);
                comanda(nr, kVendaBench, QStringLiteral("CMD_%1").arg(nr.right(4)));
                if (escrita == kTabCancelamento)
                    itens(f, nr, kVendaBench, kItensEscrita, true, kProdutoCancelamento, 1);
                else
                    itens(f, nr, kVendaBench, kItensEscrita, true);
            }

    return {{QStringLiteral("abrir comanda 20 itens"), QStringLiteral("9100000020"), QStringLiteral("RES_9001"),
             QStringLiteral("CMD"), QString()},
            {QStringLiteral("abrir comanda 500 itens"), QStringLiteral("9100000500"), QStringLiteral("RES_9002"),
             QStringLiteral("CMD"), QString()},
            {QStringLiteral("abrir mesa 20 itens"), QStringLiteral("9100000020"), QStringLiteral("RES_9001"),
             QStringLiteral("RES"), QStringLiteral("9001")},
            {QStringLiteral("abrir mesa 500 itens"), QStringLiteral("9100000500"), QStringLiteral("RES_9002"),
             QStringLiteral("RES"), QStringLiteral("9002")}};
}

// --- the floor: the traced statements, straight through Qt SQL ------------

class Replay {
public:
    explicit Replay(QSqlDatabase db) : m_db(std::move(db)), m_plain(m_db) {}

    // Runs the entries, with the tab `de` replaced by `para` in the values.
    void Run(const QList<TADOTraceEntry>& entries, const QString& de = QString(), const QString& para = QString())
    {
        for (const TADOTraceEntry& e : entries) {
            QSqlQuery* q = &m_plain;
            bool ok;
            if (e.Prepared) {
                auto it = m_prepared.find(e.Sql);
                if (it == m_prepared.end()) {
                    auto prepared = std::make_unique<QSqlQuery>(m_db);
                    prepared->setForwardOnly(true);
                    if (!prepared->prepare(e.Sql))
                        throw Exception(QStringLiteral("preparar: %1").arg(prepared->lastError().text()));
                    it = m_prepared.insert(e.Sql, std::shared_ptr<QSqlQuery>(std::move(prepared)));
                }
                q = it->get();
                for (int i = 0; i < e.Values.size(); ++i) {
                    const QVariant& v = e.Values[i];
                    q->bindValue(i,
                                 !de.isEmpty() && v.typeId() == QMetaType::QString && v.toString() == de
                                     ? QVariant(para)
                                     : v);
                }
                ok = q->exec();
            } else {
                ok = q->exec(e.Sql);
            }
            if (!ok)
                throw Exception(QStringLiteral("%1: %2").arg(e.Sql.left(60), q->lastError().text()));
            if (q->isSelect()) {
                const int colunas = q->record().count();
                while (q->next())
                    for (int c = 0; c < colunas; ++c)
                        m_lidos += q->value(c).isValid() ? 1 : 0;
            }
            q->finish();
        }
    }

private:
    QSqlDatabase m_db;
    QSqlQuery m_plain;
    QHash<QString, std::shared_ptr<QSqlQuery>> m_prepared;
    qint64 m_lidos = 0;
};

QList<TADOTraceEntry> traced(const std::function<void()>& body)
{
    QList<TADOTraceEntry> entries;
    SetADOTrace([&entries](const TADOTraceEntry& e) { entries << e; });
    try {
        body();
    } catch (...) {
        SetADOTrace({});
        throw;
    }
    SetADOTrace({});
    return entries;
}

double ms(const std::function<void()>& body)
{
    QElapsedTimer t;
    t.start();
    body();
    return t.nsecsElapsed() / 1e6;
}

double mediana(QList<double> v)
{
    std::sort(v.begin(), v.end());
    const qsizetype n = v.size();
    return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

void linha(const QString& medida, double programa, double piso, const QString& nota = QString())
{
    out << QStringLiteral("  %1 %2 %3 %4  %5\n")
               .arg(medida, -34)
               .arg(programa, 9, 'f', 2)
               .arg(piso, 9, 'f', 2)
               .arg(piso > 0 ? programa / piso : 0.0, 6, 'f', 2)
               .arg(nota);
    out.flush();
}

// --- the module's path ---------------------------------------------------

// Calls the entry and stops the clock when its window shows, closing it.
class Abertura : public QObject {
public:
    double Chama(const Pedido& p)
    {
        m_mostrada = -1;
        qApp->installEventFilter(this);
        m_relogio.start();
        try {
            Cli_kvp00917::CancelaProduto(p.comanda, p.dsComanda, p.modo, p.mesa);
        } catch (...) {
            qApp->removeEventFilter(this);
            throw;
        }
        qApp->removeEventFilter(this);
        if (m_mostrada < 0)
            throw Exception(QStringLiteral("a janela de %1 não foi mostrada").arg(p.nome));
        return m_mostrada;
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Show && m_mostrada < 0) {
            if (auto* w = qobject_cast<TfrmCancelaProd*>(o)) {
                m_mostrada = m_relogio.nsecsElapsed() / 1e6;
                QTimer::singleShot(0, w, [w] { w->close(); });
            }
        }
        return false;
    }

private:
    QElapsedTimer m_relogio;
    double m_mostrada = -1;
};

double janelaVazia()
{
    return ms([] {
        TfrmCancelaProd w(nullptr);
        w.show();
        QCoreApplication::processEvents();
        w.close();
    });
}

struct Escrita {
    QString nome;
    std::function<void(const QString& comanda, const QString& item)> chama;
};

QList<Escrita> escritas()
{
    const auto checa = [](const QVariant& r) {
        if (r.typeId() == QMetaType::QString)
            throw Exception(r.toString());
    };
    return {
        {QStringLiteral("setCancelaProd (1 de 2)"),
         [checa](const QString& c, const QString& i) {
             checa(setCancelaProd(kFilial, kCaixa, kVendaBench, c, i, QStringLiteral("1"), QString(),
                                  QStringLiteral("01"), QStringLiteral("Bench"), QStringLiteral("0003"),
                                  QStringLiteral("N"), QStringLiteral("0001")));
         }},
        {QStringLiteral("setStatusItemComanda"),
         [checa](const QString& c, const QString& i) {
             checa(setStatusItemComanda(kFilial, kCaixa, kVendaBench, c, i, QString(), QStringLiteral("01"),
                                        QStringLiteral("Bench"), QStringLiteral("0003"), QStringLiteral("0001"),
                                        QString(), QStringLiteral("N")));
         }},
        {QStringLiteral("setStatusPedidos"),
         [](const QString& c, const QString& i) {
             const QVariant r = setStatusPedidos(kFilial, kVendaBench, c, i, QString(kEstadoCancelado));
             if (r.typeId() != QMetaType::Bool)
                 throw Exception(r.toString());
         }},
        {QStringLiteral("setAcrescimo"),
         [checa](const QString& c, const QString&) { checa(setAcrescimo(kFilial, kCaixa, c, 0.1)); }},
        {QStringLiteral("setAcrescimoProdCombinado"),
         [checa](const QString& c, const QString&) { checa(setAcrescimoProdCombinado(kFilial, kCaixa, c)); }},
    };
}

void escreve(const Escrita& e, const QString& comanda)
{
    for (int i = 1; i <= kItensEscrita; ++i)
        e.chama(comanda, QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')));
}

// The till's services as the cancellation asks for them, answered at once:
// access granted, the first reason chosen, tickets handed over.
void servicosDoCancelamento()
{
    Wdc00002::VerificaAcesso = [](int, const QString& operador, QString& autorizador) {
        autorizador = operador;
        return true;
    };
    Wdc00002::Observacao = [](const QVariantList&, QVariantList& resultado, QString& texto) {
        resultado[Wdc00002::ResultadoObservacao::Grupo] = QStringLiteral("01");
        texto = QStringLiteral("Motivo 1");
    };
    Wdc00002::TecladoNumerico = [](auto...) { return false; };
    Wdc00002::LogImpNFiscal = [](auto...) {};
    Wdc00002::LogControleAcess = [](auto...) {};
    Wdc00002::DisparaImprimeCancProduto = [](auto...) {};
    Wdc00001::LimpaDisplay = [] {};
    Wdc00001::DisplayEnviaTexto = [](auto...) {};
    // Questions are answered yes; a warning means the run went wrong.
    SetMensagemHandler([](const MensagemArgs& a) {
        if (a.Tipo == 3)
            throw Exception(QStringLiteral("aviso inesperado: ") + a.Texto);
        return true;
    });
}

// The window of a tab with every item marked, and the press of its cancel
// button timed (its statements traced when asked for).
double cancelaTudo(const QString& comanda, QList<TADOTraceEntry>* instrucoes = nullptr)
{
    TfrmCancelaProd f;
    f.InicializaForm(comanda, QStringLiteral("CMD_%1").arg(comanda.right(4)), QStringLiteral("CMD"), QString());
    f.dbgProdutoTitleClick(f.dbgProduto->FieldColumn(QStringLiteral("IDCHECK")));
    if (f.cdsProduto.RecordCount() != kItensEscrita)
        throw Exception(QStringLiteral("a comanda %1 abriu com %2 itens").arg(comanda).arg(f.cdsProduto.RecordCount()));
    if (!instrucoes)
        return ms([&] { f.sbtCancelarClick(); });
    double t = 0;
    *instrucoes = traced([&] { t = ms([&] { f.sbtCancelarClick(); }); });
    return t;
}

// Both sides must have cancelled the whole tab, or the times compare nothing.
void confereCancelada(TADOConnection& c, const QString& comanda, const QString& lado)
{
    QSqlQuery q(c.Database());
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM ITCOMANDAVEN WHERE CDFILIAL = ? AND NRCOMANDA = ? AND "
                             "IDSTPRCOMVEN = '6'"));
    q.addBindValue(kFilial);
    q.addBindValue(comanda);
    if (!q.exec() || !q.next())
        throw Exception(q.lastError().text());
    if (q.value(0).toInt() != kItensEscrita)
        throw Exception(
            QStringLiteral("%1 cancelou %2 de %3 itens").arg(lado).arg(q.value(0).toInt()).arg(kItensEscrita));
}

// One round of a pair, each side first in every other round, so that neither
// always finds the caches the other warmed.
template <typename A, typename B> void emPares(int rodada, const A& modulo, const B& piso)
{
    if (rodada % 2) {
        modulo();
        piso();
    } else {
        piso();
        modulo();
    }
}

// A new database with the schema, the sales of the given size and the orders
// the writes are measured on, with the planner's statistics taken.
QList<Pedido> criaBanco(const QString& database, qint64 items, int pedidos)
{
    TADOConnection c(nullptr, QStringLiteral("adcCarga"));
    c.ConnectionString = database;
    c.CreateIfMissing = true;
    c.Open();
    SetADODBSession(c);
    for (const QString& ddl : KvpSchema::CreateStatements(c.Dialect()))
        c.Execute(ddl);
    c.BeginTrans();
    FillSales(c, items, false);
    const QList<Pedido> criados = criaPedidos(c, items, pedidos);
    c.CommitTrans();
    c.Execute(QStringLiteral("ANALYZE"));
    return criados;
}

int mede(const QString& database, qint64 items, int rodadas)
{
    const int rodadasEscrita = rodadas + 1; // the first is the warm-up that traces
    QElapsedTimer carga;
    carga.start();
    QList<Pedido> pedidos;
    pedidos = criaBanco(database, items, rodadasEscrita);
    qputenv("KVP_DATABASE", database.toUtf8());

    TADOConnection bruta(nullptr, QStringLiteral("adcBench"));
    bruta.ConnectionString = database;
    bruta.Open();
    SetADODBSession(bruta);
    Replay replay(bruta.Database());

    out << QStringLiteral("%1, %2 itens (banco pronto em %3 s); mediana de %4 rodadas pareadas\n")
               .arg(DialectName(bruta.Dialect()))
               .arg(items)
               .arg(carga.elapsed() / 1000.0, 0, 'f', 1)
               .arg(rodadas);
    out << QStringLiteral("  %1 %2 %3 %4\n")
               .arg(QStringLiteral("medida"), -34)
               .arg(QStringLiteral("módulo ms"), 9)
               .arg(QStringLiteral("piso ms"), 9)
               .arg(QStringLiteral("razão"), 6);

    // Opening: the entry up to the window shown.
    Abertura abertura;
    for (const Pedido& p : pedidos) {
        abertura.Chama(p); // warm-up
        const QList<TADOTraceEntry> instrucoes = traced([&] { abertura.Chama(p); });
        replay.Run(instrucoes);
        QList<double> modulo, piso, sql;
        for (int r = 0; r < rodadas; ++r) {
            double m = 0, s = 0, j = 0;
            const auto pelaEntrada = [&] { m = abertura.Chama(p); };
            const auto peloPiso = [&] {
                s = ms([&] { replay.Run(instrucoes); });
                j = janelaVazia();
            };
            emPares(r, pelaEntrada, peloPiso);
            modulo << m;
            piso << s + j;
            sql << s;
        }
        linha(p.nome, mediana(modulo), mediana(piso),
              QStringLiteral("(só SQL %1 ms; %2 instruções)").arg(mediana(sql), 0, 'f', 2).arg(instrucoes.size()));
    }

    // A new connection at the first call after the package was loaded.
    {
        const Pedido& p = pedidos.first();
        QList<double> primeira, segunda;
        for (int r = 0; r < rodadas; ++r) {
            Finalize();
            Initialize();
            primeira << abertura.Chama(p);
            segunda << abertura.Chama(p);
        }
        out << QStringLiteral("  %1 %2 ms na 1ª chamada, %3 ms na 2ª\n")
                   .arg(QStringLiteral("conexão: comanda 20 itens"), -34)
                   .arg(mediana(primeira), 0, 'f', 2)
                   .arg(mediana(segunda), 0, 'f', 2);
    }

    // Writes, through the data module as the window uses it.
    rdmCancelaProd = new TrdmCancelaProd(nullptr);
    rdmCancelaProd->adcCancelaProd.SetConnected(true);
    const QList<Escrita> lista = escritas();
    for (int k = 0; k < lista.size(); ++k) {
        const Escrita& e = lista[k];
        const QString aquecimento = tabEscrita(k, 0, 0);
        const QList<TADOTraceEntry> instrucoes = traced([&] { escreve(e, aquecimento); });
        replay.Run(instrucoes, aquecimento, tabEscrita(k, 1, 0));
        QList<double> modulo, piso;
        for (int r = 1; r < rodadasEscrita; ++r) {
            double m = 0, s = 0;
            const auto peloModulo = [&] { m = ms([&] { escreve(e, tabEscrita(k, 0, r)); }); };
            const auto peloPiso = [&] { s = ms([&] { replay.Run(instrucoes, aquecimento, tabEscrita(k, 1, r)); }); };
            emPares(r, peloModulo, peloPiso);
            modulo << m;
            piso << s;
        }
        linha(e.nome + QStringLiteral(" x50"), mediana(modulo), mediana(piso),
              QStringLiteral("(%1 rodadas; %2 instruções)").arg(modulo.size()).arg(instrucoes.size()));
    }

    // The cancellation command: the window's button over every item of a tab,
    // against the statements of that press replayed on a twin tab.
    {
        servicosDoCancelamento();
        const QString aquecimento = tabEscrita(kTabCancelamento, 0, 0);
        QList<TADOTraceEntry> instrucoes;
        cancelaTudo(aquecimento, &instrucoes);
        confereCancelada(bruta, aquecimento, QStringLiteral("o comando"));
        replay.Run(instrucoes, aquecimento, tabEscrita(kTabCancelamento, 1, 0));
        confereCancelada(bruta, tabEscrita(kTabCancelamento, 1, 0), QStringLiteral("o piso"));
        QList<double> modulo, piso;
        for (int r = 1; r < rodadasEscrita; ++r) {
            const QString nossa = tabEscrita(kTabCancelamento, 0, r), gemea = tabEscrita(kTabCancelamento, 1, r);
            double m = 0, s = 0;
            const auto peloModulo = [&] { m = cancelaTudo(nossa); };
            const auto peloPiso = [&] { s = ms([&] { replay.Run(instrucoes, aquecimento, gemea); }); };
            emPares(r, peloModulo, peloPiso);
            confereCancelada(bruta, nossa, QStringLiteral("o comando"));
            confereCancelada(bruta, gemea, QStringLiteral("o piso"));
            modulo << m;
            piso << s;
        }
        linha(QStringLiteral("cancelamento de 50 itens marcados"), mediana(modulo), mediana(piso),
              QStringLiteral("(%1 rodadas; %2 instruções)").arg(modulo.size()).arg(instrucoes.size()));
    }
    delete rdmCancelaProd;
    rdmCancelaProd = nullptr;
    return 0;
}

// The till as people run it, on a 500-item tab; its peak resident memory.
int memoria(const QString& database, qint64 items)
{
    criaBanco(database, items, 0);
    QProcess till;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KVP_DATABASE"), database);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    till.setProcessEnvironment(env);
    till.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    till.start(ProgramFolder() + QStringLiteral("/till"),
               {QStringLiteral("9100000500"), QStringLiteral("RES_9002"), QStringLiteral("CMD")});
    if (!till.waitForFinished(120000) || till.exitCode() != 0) {
        out << "  o till falhou: " << till.readAllStandardOutput() << "\n";
        return 1;
    }
    rusage uso{};
    getrusage(RUSAGE_CHILDREN, &uso);
    out << QStringLiteral("  memória do till com comanda de 500 itens aberta (%1): pico de %2 MB\n")
               .arg(DialectName(TADOConnection::DialectOf(database)))
               .arg(uso.ru_maxrss / 1024.0, 0, 'f', 1);
    return 0;
}

// The offscreen platform says for every window raised that it cannot raise
// it; hundreds of those lines would bury the tables.
QtMessageHandler mensagensDoQt = nullptr;
void semAvisoDeRaise(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto)
{
    if (texto == QLatin1String("This plugin does not support raise()"))
        return;
    if (mensagensDoQt)
        mensagensDoQt(tipo, contexto, texto);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    mensagensDoQt = qInstallMessageHandler(semAvisoDeRaise);
    QApplication app(argc, argv);
    QString target;
    qint64 items = 10000;
    int rodadas = 15;
    bool keep = false, memory = false;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--items") && i + 1 < args.size())
            items = args[++i].toLongLong();
        else if (args[i] == QLatin1String("--rounds") && i + 1 < args.size())
            rodadas = args[++i].toInt();
        else if (args[i] == QLatin1String("--keep"))
            keep = true;
        else if (args[i] == QLatin1String("--memory"))
            memory = true;
        else
            target = args[i];
    }
    if (target.isEmpty() || items < 1000 || rodadas < 3) {
        QTextStream(stderr) << "Uso: kvp-bench sqlite|postgresql://... [--items N] [--rounds R] [--keep] [--memory]\n";
        return 2;
    }

    // The terminal's files of the demo, in a folder of the bench's own.
    QTemporaryDir pasta;
    SetHostFolderOverride(pasta.path());
    GravaArquivosDemo(pasta.path(), true);
    out.flush();

    int status = 0;
    try {
        ScratchDatabase db(target, QStringLiteral("kvp_bench"));
        if (keep)
            db.Keep();
        if (memory) {
            SetHostFolderOverride(QString());
            GravaArquivosDemo(HostFolder(), true);
            status = memoria(db.Url(), items);
        } else {
            Initialize();
            status = mede(db.Url(), items, rodadas);
            Finalize();
        }
    } catch (const Exception& e) {
        out << "Falha: " << MaskPasswordIn(e.Message(), target) << "\n";
        status = 1;
    }
    return status;
}
