// kvp-bench-cancel DATABASE [--items N] [--runs R]
//
// Times one run of the cancellation command (the "Cancelar Pedido" button with
// N marked items of one tab, 50 by default, the reason asked for each) against
// the same statements run raw through Qt SQL: prepared once, bound by name,
// one transaction per item. Each of R runs (5 by default) starts from the same
// data. The window runs offscreen with host services that answer at once.
//
// DATABASE: "sqlite" (a temporary file) or a postgresql:// URL (a schema of
// its own is created there and dropped at the end).
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUrl>
#include <algorithm>

#include "../../server/schema/Schema.h"
#include "../../till/ArquivosDemo.h"
#include "Cli_kvp00917.h"
#include "Connection.h"
#include "DBGrid.h"
#include "Exception.h"
#include "FrmCancelaProd.h"
#include "HostServices.h"
#include "Mensagem.h"
#include "RdmCancelaProd.h"
#include "Srv_kvp00917.h"
#include "Wdc00001.h"
#include "Wdc00002.h"

namespace {

QTextStream out(stdout);

// The demo terminal files name branch 0001, store 01, till 001.
const QString kFilial = QStringLiteral("0001"), kLoja = QStringLiteral("01"), kCaixa = QStringLiteral("001");
const QString kVenda = QStringLiteral("0000000001"), kComanda = QStringLiteral("0000000100");
const QString kProduto = QStringLiteral("000001");

QString Item(int i)
{
    return QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0'));
}

void Insere(TADOConnection& c, const QString& tabela, const QList<QPair<QString, QVariant>>& colunas)
{
    QStringList nomes, valores;
    for (const auto& [nome, valor] : colunas) {
        nomes << nome;
        valores << QLatin1Char(':') + nome;
    }
    TADOCommand cmd(&c, QStringLiteral("acmInsere"));
    cmd.SetSQL(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                   .arg(tabela, nomes.join(QStringLiteral(", ")), valores.join(QStringLiteral(", "))));
    for (const auto& [nome, valor] : colunas)
        cmd.SetParam(nome, valor);
    cmd.Execute();
}

void Preenche(TADOConnection& c, int items)
{
    for (const QString& ddl : KvpSchema::CreateStatements(c.Dialect()))
        c.Execute(ddl);
    const QDateTime abertura(QDate(2024, 6, 1), QTime(12, 0));
    Insere(c, QStringLiteral("PRODUTO"),
           {{"CDPRODUTO", kProduto},
            {"NMPRODUTO", "Filé à parmegiana"},
            {"CDARVPROD", "01.01.001"},
            {"IDPESAPROD", "N"},
            {"IDTIPOCOMPPROD", "1"},
            {"CDNVPRODUTO", "3"}});
    Insere(c, QStringLiteral("VENDAREST"),
           {{"CDFILIAL", kFilial},
            {"NRVENDAREST", kVenda},
            {"CDLOJA", kLoja},
            {"NRMESA", "0010"},
            {"CDOPERADOR", "0003"},
            {"DTHRABERMESA", abertura},
            {"CDVENDEDOR", "0001"}});
    Insere(c, QStringLiteral("COMANDAVEN"),
           {{"CDFILIAL", kFilial},
            {"NRCOMANDA", kComanda},
            {"NRVENDAREST", kVenda},
            {"DSCOMANDA", "CMD_0100"},
            {"IDSTCOMANDA", "1"},
            {"VRACRCOMANDA", 100.0},
            {"CDLOJA", kLoja}});
    Insere(c, QStringLiteral("LOJA"), {{"CDFILIAL", kFilial}, {"CDLOJA", kLoja}, {"CDGRPOCORCAN", "01"}});
    Insere(c, QStringLiteral("GRUPOCOR"), {{"CDGRPOCOR", "01"}});
    Insere(c, QStringLiteral("OCORRENCIA"),
           {{"CDGRPOCOR", "01"},
            {"CDOCORR", "01"},
            {"CDTIPRISCO", "01"},
            {"DSOCORR", "Desistência"},
            {"IDCONTROLAOBS", "N"}});
    Insere(c, QStringLiteral("PRODOCORRE"), {{"CDPRODUTO", kProduto}, {"CDGRPOCOR", "01"}, {"CDOCORR", "01"}});
    for (int i = 1; i <= items; ++i) {
        Insere(c, QStringLiteral("ITCOMANDAVEN"),
               {{"CDFILIAL", kFilial},
                {"NRCOMANDA", kComanda},
                {"NRPRODCOMVEN", Item(i)},
                {"NRVENDAREST", kVenda},
                {"CDPRODUTO", kProduto},
                {"QTPRODCOMVEN", 1.0},
                {"VRPRECCOMVEN", 10.5},
                {"VRDESCCOMVEN", 0.0},
                {"VRACRCOMVEN", 0.5},
                {"IDSTPRCOMVEN", "1"},
                {"DTHRINCOMVEN", abertura.addSecs(600)},
                {"IDPRODREFIL", "N"},
                {"IDDIVIDECONTA", "N"},
                {"CDVENDEDOR", "0001"},
                {"NRLUGARMESA", "01"},
                {"CDLOJA", kLoja}});
        Insere(c, QStringLiteral("ITPEDIDOQRV"),
               {{"CDFILIAL", kFilial},
                {"NRCOMANDA", kComanda},
                {"NRPRODCOMVEN", Item(i)},
                {"NRVENDAREST", kVenda},
                {"IDSITITPEDQRV", "P"},
                {"QTPRODPEQRV", 1.0}});
    }
}

int Cancelados(TADOConnection& c)
{
    QSqlQuery q(c.Database());
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM ITCOMANDAVEN WHERE IDSTPRCOMVEN = '6'")) || !q.next())
        throw Exception(q.lastError().text());
    return q.value(0).toInt();
}

void Restaura(TADOConnection& c)
{
    c.Execute(QStringLiteral("UPDATE ITCOMANDAVEN SET IDSTPRCOMVEN = '1', CDGRPOCOR = NULL, TXPRODCOMVEN = NULL,"
                             " CDSUPERVISOR = NULL, CDOPERCANC = NULL, IDPRODPRODUZ = NULL, DTHRPRODCANVEN = NULL"));
    c.Execute(QStringLiteral("UPDATE ITPEDIDOQRV SET IDSITITPEDQRV = 'P', DTCANCITPED = NULL"));
    c.Execute(QStringLiteral("UPDATE COMANDAVEN SET VRACRCOMANDA = 100"));
}

void InstalaHost()
{
    Wdc00002::VerificaAcesso = [](int, const QString& operador, QString& autorizador) {
        autorizador = operador;
        return true;
    };
    Wdc00002::Observacao = [](const QVariantList&, QVariantList& resultado, QString& texto) {
        resultado[0] = QStringLiteral("01");
        texto = QStringLiteral("Desistência");
    };
    Wdc00002::TecladoNumerico = [](QString&, const QString&, const QString&, const QString&, int, int, bool, int, int,
                                   int) { return false; };
    Wdc00002::LogImpNFiscal = [](const QVariantList&, QVariantList&) {};
    Wdc00002::LogControleAcess = [](const QString&, const QString&, const QString&, const QString&, const QString&,
                                    const QString&, const QString&, const QString&, const QString&, const QString&,
                                    const QString&, const QString&, int, int) {};
    Wdc00001::LimpaDisplay = [] {};
    Wdc00001::DisplayEnviaTexto = [](const QString&, int, int, int, int) {};
    SetMensagemHandler([](const MensagemArgs& a) {
        if (a.Tipo == 3)
            throw Exception(QStringLiteral("Aviso inesperado: ") + a.Texto);
        return true;
    });
}

// One press of the button with every item marked; milliseconds.
double Comando(int items)
{
    TfrmCancelaProd f;
    f.InicializaForm(kComanda, QStringLiteral("CMD_0100"), QStringLiteral("CMD"), QString());
    f.dbgProdutoTitleClick(f.dbgProduto->FieldColumn(QStringLiteral("IDCHECK")));
    if (f.cdsProduto.RecordCount() != items)
        throw Exception(QStringLiteral("lista com %1 itens").arg(f.cdsProduto.RecordCount()));
    QElapsedTimer t;
    t.start();
    f.sbtCancelarClick();
    return t.nsecsElapsed() / 1e6;
}

// The statements of that press, in the text of this engine, prepared once.
class Bruto {
public:
    Bruto(const TrdmCancelaProd& m, QSqlDatabase db) : m_db(db)
    {
        const QList<const TADOStatement*> instrucoes{&m.adqInfoProdProduz,    &m.adqOcorCanc,
                                                     &m.adqPesqAcres,         &m.AcmUpnAcres,
                                                     &m.acmUpdStatus,         &m.adqItPedidoQrvRel,
                                                     &m.acmUpdSitItPedidoQrv, &m.acmUpdQtdeBeneficio,
                                                     &m.acmUpdBeneficio,      &m.adqTotAdiantamento,
                                                     &m.adqItComanda};
        for (const TADOStatement* s : instrucoes) {
            auto q = std::make_unique<QSqlQuery>(db);
            if (!q->prepare(s->SQL()))
                throw Exception(s->Name() + QStringLiteral(": ") + q->lastError().text());
            m_nomes[s->Name()] = s->ParamNames();
            m_q[s->Name()] = std::move(q);
        }
    }

    double Executa(int items)
    {
        QElapsedTimer t;
        t.start();
        QVariantMap v{{"P_CDFILIAL", kFilial},         {"P_CDLOJA", kLoja},
                      {"P_CDCAIXA", kCaixa},           {"P_NRVENDAREST", kVenda},
                      {"P_NRCOMANDA", kComanda},       {"P_CDPRODUTO", kProduto},
                      {"P_TCDPRODUTO", QString()},     {"CDGRPOCOR", "01"},
                      {"TXPRODCOMVEN", "Desistência"}, {"IDPRODPRODUZ", QString()},
                      {"P_CDSUPERVISOR", "0003"},      {"P_CDOPERCANC", "0003"},
                      {"P_IDSITITPEDQRV", "C"},        {"P_NRSEQBENECONS", QString()},
                      {"P_CDPRODCONSUM", QString()},   {"P_CDPRODCONSFEM", QString()},
                      {"P_CDPRODCOUVER", QString()}};
        Roda(QStringLiteral("adqInfoProdProduz"), v);
        for (int i = 1; i <= items; ++i) {
            v["P_NRPRODCOMVEN"] = Item(i);
            Roda(QStringLiteral("adqOcorCanc"), v);
            Exec(QStringLiteral("BEGIN"));
            QSqlQuery& acres = Roda(QStringLiteral("adqPesqAcres"), v);
            acres.next();
            v["P_VRACRCOMANDA"] = qMax(0.0, acres.value(0).toDouble() - 0.5);
            Roda(QStringLiteral("AcmUpnAcres"), v);
            v["DTHRPRODCANVEN"] = QDateTime::currentDateTime();
            v["P_DTCANCITPED"] = QDateTime::currentDateTime();
            Roda(QStringLiteral("acmUpdStatus"), v);
            Roda(QStringLiteral("adqItPedidoQrvRel"), v);
            Roda(QStringLiteral("acmUpdSitItPedidoQrv"), v);
            Roda(QStringLiteral("acmUpdQtdeBeneficio"), v);
            Roda(QStringLiteral("acmUpdBeneficio"), v);
            Exec(QStringLiteral("COMMIT"));
        }
        Roda(QStringLiteral("adqTotAdiantamento"), v);
        Roda(QStringLiteral("adqItComanda"), v);
        return t.nsecsElapsed() / 1e6;
    }

private:
    QSqlQuery& Roda(const QString& nome, const QVariantMap& valores)
    {
        QSqlQuery& q = *m_q.at(nome);
        for (const QString& p : m_nomes.value(nome)) {
            if (!valores.contains(p))
                throw Exception(nome + QStringLiteral(": sem valor para ") + p);
            q.bindValue(QLatin1Char(':') + p, valores.value(p));
        }
        if (!q.exec())
            throw Exception(nome + QStringLiteral(": ") + q.lastError().text());
        while (q.isSelect() && q.next()) {}
        q.seek(-1);
        return q;
    }
    void Exec(const QString& sql)
    {
        QSqlQuery q(m_db);
        if (!q.exec(sql))
            throw Exception(sql + QStringLiteral(": ") + q.lastError().text());
    }

    QSqlDatabase m_db;
    std::map<QString, std::unique_ptr<QSqlQuery>> m_q;
    QMap<QString, QStringList> m_nomes;
};

double Mediana(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString target;
    int items = 50, runs = 5;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--items") && i + 1 < args.size())
            items = args[++i].toInt();
        else if (args[i] == QLatin1String("--runs") && i + 1 < args.size())
            runs = args[++i].toInt();
        else
            target = args[i];
    }
    if (target.isEmpty() || items < 1 || items > 999999 || runs < 1) {
        QTextStream(stderr) << "Uso: kvp-bench-cancel sqlite|postgresql://... [--items N] [--runs R]\n";
        return 2;
    }

    QTemporaryDir pasta;
    QString database = target, schema;
    if (target == QLatin1String("sqlite"))
        database = pasta.filePath(QStringLiteral("kvp-bench.db"));
    const TSqlDialect dialect = TADOConnection::DialectOf(database);
    if (dialect == TSqlDialect::PostgreSQL) {
        schema = QStringLiteral("kvp_bench_%1").arg(QRandomGenerator::global()->bounded(1000000));
        TADOConnection admin(nullptr, QStringLiteral("adcAdmin"));
        admin.ConnectionString = database;
        admin.Open();
        admin.Execute(QStringLiteral("CREATE SCHEMA %1").arg(schema));
        database += (database.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?'))
            + QStringLiteral("options=")
            + QString::fromLatin1(QUrl::toPercentEncoding(QStringLiteral("-c search_path=%1").arg(schema)));
    }

    int status = 0;
    try {
        TADOConnection c(nullptr, QStringLiteral("adcBench"));
        c.ConnectionString = database;
        c.CreateIfMissing = true;
        c.Open();
        SetADODBSession(c);
        Preenche(c, items);

        GravaArquivosDemo(pasta.path(), true);
        SetHostFolderOverride(pasta.path());
        qputenv("KVP_DATABASE", database.toUtf8());
        InstalaHost();

        rdmCancelaProd = new TrdmCancelaProd(nullptr);
        rdmCancelaProd->adcCancelaProd.Open();
        Bruto bruto(*rdmCancelaProd, c.Database());
        QList<double> comando, direto;
        for (int r = 0; r < runs; ++r) {
            Restaura(c);
            comando << Comando(items);
            if (Cancelados(c) != items)
                throw Exception(QStringLiteral("o comando não cancelou todos os itens"));
            Restaura(c);
            direto << bruto.Executa(items);
            if (Cancelados(c) != items)
                throw Exception(QStringLiteral("as instruções diretas não cancelaram todos os itens"));
        }
        out << QStringLiteral(
                   "%1: %2 itens, mediana de %3 execuções: comando %4 ms (%5 ms/item), instruções diretas %6 ms "
                   "(%7 ms/item), razão %8\n")
                   .arg(DialectName(c.Dialect()))
                   .arg(items)
                   .arg(runs)
                   .arg(Mediana(comando), 0, 'f', 1)
                   .arg(Mediana(comando) / items, 0, 'f', 2)
                   .arg(Mediana(direto), 0, 'f', 1)
                   .arg(Mediana(direto) / items, 0, 'f', 2)
                   .arg(Mediana(comando) / Mediana(direto), 0, 'f', 1);
        delete rdmCancelaProd;
        rdmCancelaProd = nullptr;
    } catch (const Exception& e) {
        out << "Falha: " << MaskPasswordIn(e.Message(), database) << "\n";
        status = 1;
    }

    if (!schema.isEmpty()) {
        TADOConnection admin(nullptr, QStringLiteral("adcAdmin"));
        admin.ConnectionString = target;
        try {
            admin.Open();
            admin.Execute(QStringLiteral("SET client_min_messages TO warning"));
            admin.Execute(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(schema));
        } catch (const Exception& e) {
            out << "Falha ao apagar o esquema " << schema << ": " << e.Message() << "\n";
        }
    }
    return status;
}
