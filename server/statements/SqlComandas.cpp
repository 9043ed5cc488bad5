#include <QHash>
#include <QStringList>

#include "CamposItem.h"
#include "FieldDefs.h"
#include "OcorrenciasSql.h"
#include "RdmCancelaProd.h"
#include "StatementHelpers.h"

// Item lists of a tab and of a table, table state, waiter, balance after
// advance payments, the "produced?" switch and the cancellation reasons.

using namespace statements;

namespace {

struct ItemDialect {
    QString nomeProduto; // fiscal name when there is one
    QString textoItem; // the item's free text
    QString inicio4; // first four characters of the tab label
};

ItemDialect DialectOf(TSqlDialect d)
{
    switch (d) {
    case TSqlDialect::Oracle:
        return {NuloPadrao(d) + QStringLiteral("(PR.NMPRODIMPFIS,PR.NMPRODUTO)"), QStringLiteral("IT.TXPRODCOMVEN"),
                QStringLiteral("SUBSTR(CO.DSCOMANDA,1,4)")};
    case TSqlDialect::MSSQL:
        // A text column cannot take part in UNION; the length keeps the whole
        // item text (a bare VARCHAR would cut it to 30 characters).
        return {NuloPadrao(d) + QStringLiteral("(PR.NMPRODIMPFIS,PR.NMPRODUTO)"),
                QStringLiteral("CONVERT(VARCHAR(2000), IT.TXPRODCOMVEN)"),
                QStringLiteral("SUBSTRING(CO.DSCOMANDA,1,4)")};
    default:
        return {NuloPadrao(d) + QStringLiteral("(PR.NMPRODIMPFIS,PR.NMPRODUTO)"), QStringLiteral("IT.TXPRODCOMVEN"),
                QStringLiteral("SUBSTR(CO.DSCOMANDA,1,4)")};
    }
}

// The 26 item columns after IDCHECK, in the record's order; most are the item
// row's own, and the seat is a constant in the tab list.
QString ColunasItem(const ItemDialect& d, const QString& lugar, bool comandaOriAntes)
{
    const QHash<QString, QString> origem{
        {QStringLiteral("TXPRODCOMVEN"), d.textoItem + QStringLiteral(" AS TXPRODCOMVEN")},
        {QStringLiteral("CDARVPROD"), QStringLiteral("PR.CDARVPROD")},
        {QStringLiteral("NMPRODUTO"), d.nomeProduto + QStringLiteral(" AS NMPRODUTO")},
        {QStringLiteral("VRACRCOMANDA"), QStringLiteral("CO.VRACRCOMANDA")},
        {QStringLiteral("IDPESAPROD"), QStringLiteral("PR.IDPESAPROD")},
        {QStringLiteral("NRLUGARMESA"), lugar + QStringLiteral(" AS NRLUGARMESA")},
    };
    QStringList colunas;
    for (const TFieldDef& f : CamposItem(comandaOriAntes).mid(1))
        colunas << origem.value(f.Name, QStringLiteral("IT.") + f.Name);
    return colunas.join(QStringLiteral(", "));
}

const QString kExclusoes = QStringLiteral(
    "(IT.CDPRODUTO <> :P_CDPRODCONSUM) AND (IT.CDPRODUTO <> :P_CDPRODCONSFEM) AND "
    "(IT.CDPRODUTO <> :P_CDPRODCOUVER) AND (IT.IDPRODREFIL = 'N')");

// Item-number order, which is what a sorting union delivers anyway; without it
// a hashing engine hands the rows over in any order and children no longer
// stand below their parent. Ties between tabs of a table go by tab.
const QString kOrdemItens = QStringLiteral(" ORDER BY %1.NRPRODCOMVEN, %1.NRCOMANDA");

QString ItComandaSql(TSqlDialect dialect)
{
    const ItemDialect d = DialectOf(dialect);
    return QStringLiteral("SELECT 'U' AS IDCHECK, ") + ColunasItem(d, QStringLiteral("'01'"), false)
        + QStringLiteral(" FROM VENDAREST VE, COMANDAVEN CO, ITCOMANDAVEN IT, PRODUTO PR"
                         " WHERE (CO.CDFILIAL = :P_CDFILIAL) AND (CO.NRCOMANDA = :P_NRCOMANDA)"
                         " AND (CO.CDFILIAL = IT.CDFILIAL) AND (CO.NRCOMANDA = IT.NRCOMANDA)"
                         " AND (CO.NRVENDAREST = IT.NRVENDAREST) AND (CO.CDFILIAL = VE.CDFILIAL)"
                         " AND (CO.NRVENDAREST = VE.NRVENDAREST) AND (IT.CDPRODUTO = PR.CDPRODUTO)"
                         " AND (CO.IDSTCOMANDA <> '4') AND (VE.DTHRFECHMESA IS NULL) AND ")
        + kExclusoes + kOrdemItens.arg(QStringLiteral("IT"));
}

QString ItComandaJuncaoSql(TSqlDialect dialect)
{
    const ItemDialect d = DialectOf(dialect);
    const QString parte = QStringLiteral("SELECT ") + ColunasItem(d, QStringLiteral("IT.NRLUGARMESA"), true)
        + QStringLiteral(" FROM VENDAREST VE, COMANDAVEN CO, ITCOMANDAVEN IT, PRODUTO PR"
                         " WHERE (VE.CDFILIAL = :P_CDFILIAL) AND (VE.CDLOJA = :P_CDLOJA) AND (VE.DTHRFECHMESA IS NULL)"
                         " AND (VE.CDFILIAL = CO.CDFILIAL) AND (VE.NRVENDAREST = CO.NRVENDAREST)"
                         " AND (CO.CDFILIAL = IT.CDFILIAL) AND (CO.NRVENDAREST = IT.NRVENDAREST)"
                         " AND (CO.NRCOMANDA = IT.NRCOMANDA) AND (IT.CDPRODUTO = PR.CDPRODUTO)"
                         " AND (CO.IDSTCOMANDA <> '4') AND (")
        + d.inicio4 + QStringLiteral(" IN ('PKR_','RES_')) AND ") + kExclusoes;
    // The table's joining; a table in two joinings is an error on every engine.
    const QString juncoesDaMesa = QStringLiteral(
        " FROM MESAJUNCAO WHERE (CDFILIAL = :P_CDFILIAL) AND (CDLOJA = :P_CDLOJA) AND (NRMESA = :P_NRMESA)");
    const QString juntas
        = QStringLiteral(
              " AND VE.NRMESA IN (SELECT MJ.NRMESA FROM JUNCAOMESA JM, MESAJUNCAO MJ"
              " WHERE (JM.CDFILIAL = :P_CDFILIAL) AND (JM.CDFILIAL = MJ.CDFILIAL) AND (JM.CDLOJA = :P_CDLOJA)"
              " AND (JM.NRJUNMESA = MJ.NRJUNMESA) AND (JM.CDLOJA = MJ.CDLOJA)"
              " AND (JM.NRJUNMESA = (SELECT NRJUNMESA")
        + juncoesDaMesa + QStringLiteral(")))")
        + UmaLinhaSo(dialect, QStringLiteral("SELECT COUNT(*)") + juncoesDaMesa,
                     QStringLiteral("A mesa está em mais de uma junção de mesas"));
    QStringList externas;
    for (const TFieldDef& f : CamposItem(true).mid(1))
        externas << QStringLiteral("A.") + f.Name;
    return QStringLiteral("SELECT 'U' AS IDCHECK, ") + externas.join(QStringLiteral(", ")) + QStringLiteral(" FROM (")
        + parte + QStringLiteral(" AND (VE.NRMESA = :P_NRMESA) UNION ") + parte + juntas + QStringLiteral(") A")
        + kOrdemItens.arg(QStringLiteral("A"));
}

QList<TFieldDef> OcorrenciaFields()
{
    return {StringField(QStringLiteral("CDGRPOCOR"), 2), StringField(QStringLiteral("CDOCORR"), 2),
            StringField(QStringLiteral("CDTIPRISCO"), 2), StringField(QStringLiteral("DSOCORR"), 40)};
}

QString TotAdiantamentoSql(TSqlDialect dialect)
{
    const QString nulo = NuloPadrao(dialect);
    return QStringLiteral(
               "SELECT SUM(B.TOTCONTA-A.TOTADIANTAMENTO) AS VRFINAL FROM "
               "(SELECT SUM(%1(VRMOV,0)) AS TOTADIANTAMENTO FROM MOVCAIXAMOB"
               " WHERE CDFILIAL = :P_CDFILIAL AND NRCOMANDA = :P_NRCOMANDA) A, "
               "(SELECT SUM((QTPRODCOMVEN*VRPRECCOMVEN)-VRDESCCOMVEN+VRACRCOMVEN) AS TOTCONTA FROM ITCOMANDAVEN"
               " WHERE CDFILIAL = :P_CDFILIAL AND IDSTPRCOMVEN <> '6' AND NRCOMANDA = :P_NRCOMANDA) B")
        .arg(nulo);
}

} // namespace

void TrdmCancelaProd::DefineSqlComandas()
{
    adqItComanda.SetSQL(ItComandaSql(TSqlDialect::Oracle));
    adqItComanda.PersistentFields = CamposItem(false);
    assItComanda = AddStorage(&adqItComanda, QStringLiteral("assItComanda"));
    FillStorage(assItComanda, ItComandaSql);

    adqItComandaJuncao.SetSQL(ItComandaJuncaoSql(TSqlDialect::Oracle));
    adqItComandaJuncao.PersistentFields = CamposItem(true);
    assItComandaJuncao = AddStorage(&adqItComandaJuncao, QStringLiteral("assItComandaJuncao"));
    FillStorage(assItComandaJuncao, ItComandaJuncaoSql);

    adqComandaVen.SetSQL(QStringLiteral(
        "SELECT DISTINCT CO.NRCOMANDA, CO.DSCOMANDA, VE.NRVENDAREST, VE.CDLOJA, VE.NRMESA, VE.CDOPERADOR,"
        " VE.DTHRABERMESA FROM COMANDAVEN CO, VENDAREST VE WHERE CO.CDFILIAL = :P_CDFILIAL"
        " AND CO.NRCOMANDA = :P_NRCOMANDA AND (CO.CDFILIAL = VE.CDFILIAL) AND (CO.NRVENDAREST = VE.NRVENDAREST)"));

    adqValidaMesa.SetSQL(
        QStringLiteral("SELECT NRMESA, IDSTMESAAUX FROM MESA WHERE CDFILIAL = :P_CDFILIAL AND CDLOJA = :P_CDLOJA"
                       " AND NRMESA = :P_NRMESA"));

    adqGarcomMesa.SetSQL(QStringLiteral(
        "SELECT V.CDVENDEDOR, V.NMFANVEN, V.NRINSJURVEN FROM COMANDAVEN CO, VENDAREST VE, VENDEDOR V"
        " WHERE CO.CDFILIAL = :P_CDFILIAL AND CO.NRCOMANDA = :P_NRCOMANDA AND (CO.CDFILIAL = VE.CDFILIAL)"
        " AND (CO.NRVENDAREST = VE.NRVENDAREST) AND (VE.CDVENDEDOR = V.CDVENDEDOR)"));

    adqTotAdiantamento.SetSQL(TotAdiantamentoSql(TSqlDialect::MSSQL));
    FillStorage(AddStorage(&adqTotAdiantamento, QStringLiteral("assTotAdiantamento")), TotAdiantamentoSql);

    adqInfoProdProduz.SetSQL(QStringLiteral("SELECT IDINFPRODPRODUZ FROM PARAMGERAL"));

    adqOcorCanc.SetSQL(OcorrenciasSql(false));
    adqOcorCanc.PersistentFields = OcorrenciaFields();
    adqOcorrTodos.SetSQL(OcorrenciasSql(true));
    adqOcorrTodos.PersistentFields = OcorrenciaFields();
}
