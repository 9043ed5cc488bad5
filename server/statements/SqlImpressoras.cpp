#include "FieldDefs.h"
#include "RdmCancelaProd.h"
#include "StatementHelpers.h"

// Production printers of a product, the item as ticket lines (itself, its
// components, its parent's name, the additional items after it), the till's
// printers with their backups and its switch for integrated-order notices.

using namespace statements;

namespace {

QString ImprLojaSql(const QString& impressoraDoProduto)
{
    return QStringLiteral(
               "SELECT L.CDPORTAIMPR, I.IDMODEIMPRES, L.NRSEQIMPRLOJA FROM PRODLOJA P, IMPRLOJA L, IMPRESSORA I"
               " WHERE P.CDFILIAL = :P_CDFILIAL AND P.CDLOJA = :P_CDLOJA AND P.CDPRODUTO = :P_CDPRODUTO"
               " AND P.CDFILIAL = L.CDFILIAL AND P.CDLOJA = L.CDLOJA AND P.")
        + impressoraDoProduto + QStringLiteral(" = L.NRSEQIMPRLOJA AND L.CDIMPRESSORA = I.CDIMPRESSORA");
}

QString AdicionaisFilhosSql()
{
    const QString comanda = QStringLiteral(
        "A.CDFILIAL = :P_CDFILIAL AND A.NRCOMANDA = :P_NRCOMANDA AND A.NRVENDAREST = :P_NRVENDAREST");
    // Item numbers of the tab whose product is the product of an observation
    // (marked "A") attached in the tab: the additional items.
    const QString adicionais
        = QStringLiteral("SELECT D.NRPRODCOMVEN FROM ITCOMANDAVEN A"
                         " INNER JOIN OBSITCOMANDAVEN B ON B.CDFILIAL=A.CDFILIAL and B.NRVENDAREST=A.NRVENDAREST"
                         " and B.NRCOMANDA=A.NRCOMANDA"
                         " INNER JOIN OCORRENCIA C ON C.CDGRPOCOR=B.CDGRPOCOR AND C.CDOCORR=B.CDOCORR"
                         " AND C.CDPRODUTO IS NOT NULL AND C.IDCONTROLAOBS='A'"
                         " INNER JOIN ITCOMANDAVEN D ON D.CDFILIAL=A.CDFILIAL and D.NRVENDAREST=A.NRVENDAREST"
                         " and D.NRCOMANDA=A.NRCOMANDA AND D.CDPRODUTO=C.CDPRODUTO"
                         " WHERE ")
        + comanda + QStringLiteral(" GROUP BY D.NRPRODCOMVEN");
    const QString naoAdicional = QStringLiteral(" AND A.NRPRODCOMVEN NOT IN (") + adicionais + QStringLiteral(")");
    return QStringLiteral("SELECT a.NRPRODCOMVEN, b.NRPRODCOMVEN NRPRODCOMVENLIMITE, c.NRPRODCOMVEN NRPRODCOMVENULTIMO"
                          " FROM (")
        + adicionais + QStringLiteral(") a, (SELECT MIN(A.NRPRODCOMVEN) NRPRODCOMVEN FROM ITCOMANDAVEN A WHERE ")
        + comanda + QStringLiteral(" AND A.NRPRODCOMVEN > :P_NRPRODCOMVEN") + naoAdicional
        + QStringLiteral(") b, (SELECT max(A.NRPRODCOMVEN) NRPRODCOMVEN FROM ITCOMANDAVEN A WHERE ") + comanda
        + QStringLiteral(" AND A.NRPRODCOMVEN >= :P_NRPRODCOMVEN") + naoAdicional
        + QStringLiteral(") c, (SELECT A.NRPRODCOMVEN FROM ITCOMANDAVEN A WHERE ") + comanda
        + QStringLiteral(" AND A.NRPRODCOMVEN = :P_NRPRODCOMVEN") + naoAdicional
        + QStringLiteral(
               ") d WHERE a.NRPRODCOMVEN > :P_NRPRODCOMVEN and ((a.NRPRODCOMVEN < b.NRPRODCOMVEN)"
               " or (b.NRPRODCOMVEN is null and c.NRPRODCOMVEN = :P_NRPRODCOMVEN)) and d.NRPRODCOMVEN is not null");
}

// One main printer and its backup per till, joined to both ports.
QString ParImpressoras(const QString& principal, const QString& backup, const QString& origem)
{
    return QStringLiteral(
               "SELECT %1 NRSEQIMPRLOJA, %2 NRSEQIMPRLOJABK, M.DSENDPORTA, MBK.DSENDPORTA DSENDPORTABK,"
               " IL.CDPORTAIMPR, ILBK.CDPORTAIMPR CDPORTAIMPRBK, IL.CDIMPRESSORA, ILBK.CDIMPRESSORA CDIMPRESSORABK,"
               " C.CDFILIAL, C.CDLOJA, C.CDCAIXA FROM CAIXA C%3"
               " INNER JOIN IMPRLOJA IL ON IL.CDFILIAL = C.CDFILIAL AND IL.CDLOJA = C.CDLOJA"
               " AND IL.NRSEQIMPRLOJA = %1"
               " INNER JOIN MAPIMPRLOJA M ON M.CDPORTAIMPR = IL.CDPORTAIMPR"
               " INNER JOIN IMPRLOJA ILBK ON ILBK.CDFILIAL = C.CDFILIAL AND ILBK.CDLOJA = C.CDLOJA"
               " AND ILBK.NRSEQIMPRLOJA = %2"
               " INNER JOIN MAPIMPRLOJA MBK ON MBK.CDPORTAIMPR = ILBK.CDPORTAIMPR")
        .arg(principal, backup, origem);
}

QString ImpressoraDosProdutos(const QString& coluna, const QString& backup)
{
    return ParImpressoras(QStringLiteral("P.") + coluna, backup,
                          QStringLiteral(
                              " INNER JOIN (SELECT DISTINCT CDFILIAL, CDLOJA, %1 FROM PRODLOJA WHERE %1 IS NOT NULL) P"
                              " ON P.CDFILIAL = C.CDFILIAL AND P.CDLOJA = C.CDLOJA")
                              .arg(coluna));
}

// Oracle takes no AS before a derived table's alias; the others accept it.
QString ImpBackupSql(TSqlDialect d)
{
    const QStringList partes{
        ParImpressoras(QStringLiteral("C.NRSEQIMPRLOJA1"), QStringLiteral("C.NRSEQIMPRLOJA1BK"), QString()),
        ParImpressoras(QStringLiteral("C.NRSEQIMPRLOJA2"), QStringLiteral("C.NRSEQIMPRLOJA2BK"), QString()),
        ParImpressoras(QStringLiteral("C.NRSEQIMPRLOJA5"), QStringLiteral("C.NRSEQIMPRLOJA5BK"), QString()),
        ImpressoraDosProdutos(QStringLiteral("NRSEQIMPRPROD"), QStringLiteral("C.NRSEQIMPRLOJA1BK")),
        ImpressoraDosProdutos(QStringLiteral("NRSEQIMPRPROD2"), QStringLiteral("C.NRSEQIMPRLOJA2BK")),
        ImpressoraDosProdutos(QStringLiteral("NRSEQIMPRPUXA"), QStringLiteral("C.NRSEQIMPRLOJA5BK")),
    };
    return QStringLiteral(
               "SELECT IMPBACKUP.NRSEQIMPRLOJA, IMPBACKUP.NRSEQIMPRLOJABK, IMPBACKUP.DSENDPORTA,"
               " IMPBACKUP.DSENDPORTABK, I.IDMODEIMPRES, IBK.IDMODEIMPRES IDMODEIMPRESBK, IMPBACKUP.CDFILIAL,"
               " IMPBACKUP.CDLOJA, IMPBACKUP.CDCAIXA FROM (")
        + partes.join(QStringLiteral(" UNION ")) + QStringLiteral(")")
        + (d == TSqlDialect::Oracle ? QStringLiteral(" IMPBACKUP") : QStringLiteral(" AS IMPBACKUP"))
        + QStringLiteral(" JOIN IMPRESSORA I ON I.CDIMPRESSORA=IMPBACKUP.CDIMPRESSORA"
                         " JOIN IMPRESSORA IBK ON IBK.CDIMPRESSORA=IMPBACKUP.CDIMPRESSORABK"
                         " WHERE IMPBACKUP.CDFILIAL = :P_CDFILIAL AND IMPBACKUP.CDCAIXA = :P_CDCAIXA");
}

} // namespace

void TrdmCancelaProd::DefineSqlImpressoras()
{
    adqBuscaPortaProd.SetSQL(QStringLiteral(
        "SELECT PR.CDPRODUTO, PR.CDARVPROD, PR.NMPRODUTO, PL.CDPORIMPPROD, PL.DSENDIMPPROD, PL.IDIMPCANITEM"
        " FROM PRODUTO PR, PRODLOJA PL WHERE PR.CDPRODUTO = :P_CDPRODUTO AND PL.CDFILIAL = :P_CDFILIAL"
        " AND PL.CDLOJA = :P_CDLOJA AND PR.CDPRODUTO = PL.CDPRODUTO AND PL.IDIMPCANITEM = 'S'"
        " AND (PR.CDNVPRODUTO = (SELECT MAX(P2.CDNVPRODUTO) FROM PRODUTO P2))"));

    adqImprLoja.SetSQL(ImprLojaSql(QStringLiteral("NRSEQIMPRPROD")));
    adqImprLoja2.SetSQL(ImprLojaSql(QStringLiteral("NRSEQIMPRPROD2")));

    adqProdutoNormal.SetSQL(QStringLiteral(
        "SELECT PR.CDPRODUTO, PR.NMPRODUTO, PL.IDIMPCANITEM, PL.CDPORIMPPROD, IT.NRPRODCOMVEN AS NRSEQUITVEND,"
        " IT.QTPRODCOMVEN FROM ITCOMANDAVEN IT, PRODUTO PR, PRODLOJA PL WHERE IT.CDFILIAL = :P_CDFILIAL"
        " AND IT.NRVENDAREST = :P_NRVENDAREST AND IT.NRCOMANDA = :P_NRCOMANDA AND IT.NRPRODCOMVEN = :P_NRPRODCOMVEN"
        " AND IT.CDPRODUTO = PR.CDPRODUTO AND PR.IDTIPOCOMPPROD <> '3' AND IT.CDFILIAL = PL.CDFILIAL"
        " AND IT.CDLOJA = PL.CDLOJA AND IT.CDPRODUTO = PL.CDPRODUTO"));

    adqProdutoFilho.SetSQL(QStringLiteral(
        "SELECT IE.CDFILIAL, IE.NRVENDAREST, IE.NRCOMANDA, IE.NRPRODCOMVEN, PR.CDPRODUTO, PR.NMPRODUTO,"
        " IE.NRPRODCOMVEN AS NRSEQUITVEND, IE.QTPROCOMEST AS QTPRODCOMVEN, PL.IDIMPCANITEM, PL.CDPORIMPPROD"
        " FROM ITCOMANDAEST IE, PRODUTO PR, COMANDAVEN CV, PRODLOJA PL WHERE IE.CDFILIAL = :P_CDFILIAL"
        " AND IE.NRVENDAREST = :P_NRVENDAREST AND IE.NRCOMANDA = :P_NRCOMANDA AND IE.NRPRODCOMVEN = :P_NRPRODCOMVEN"
        " AND IE.CDPRODUTO = PR.CDPRODUTO AND IE.CDFILIAL = CV.CDFILIAL AND IE.NRVENDAREST = CV.NRVENDAREST"
        " AND IE.NRCOMANDA = CV.NRCOMANDA AND CV.CDFILIAL = PL.CDFILIAL AND CV.CDLOJA = PL.CDLOJA"
        " AND IE.CDPRODUTO = PL.CDPRODUTO AND IE.IDIMPPRGRPROMO <> 'S'"));

    adqNomeProdutoPai.SetSQL(QStringLiteral(
        "SELECT IT.CDPRODUTO, PR.NMPRODUTO FROM ITCOMANDAVEN IT, PRODUTO PR WHERE IT.CDFILIAL = :P_CDFILIAL"
        " AND IT.NRVENDAREST = :P_NRVENDAREST AND IT.NRCOMANDA = :P_NRCOMANDA AND IT.NRPRODCOMVEN = :P_NRPRODCOMVEN"
        " AND IT.CDPRODUTO = PR.CDPRODUTO"));

    adqProdutosAdicionaisFilhos.SetSQL(AdicionaisFilhosSql());

    adqImpBackup.SetSQL(ImpBackupSql(TSqlDialect::MSSQL));
    FillStorage(AddStorage(&adqImpBackup, QStringLiteral("assImpBackup")), ImpBackupSql);

    adqImpCancInteg.SetSQL(
        QStringLiteral("SELECT IDIMPCANPEDINT FROM CAIXA WHERE CDFILIAL = :P_CDFILIAL AND CDCAIXA = :P_CDCAIXA"));
    adqImpCancInteg.PersistentFields = {StringField(QStringLiteral("IDIMPCANPEDINT"), 1)};
}
