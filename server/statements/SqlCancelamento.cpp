#include "RdmCancelaProd.h"
#include "StatementHelpers.h"

// Cancellation of an item: the quantity split (new cancelled line, remaining
// line), the whole cancellation and the production-order rows.

using namespace statements;

namespace {

const QString kChaveItem = QStringLiteral(
    "(CDFILIAL = :P_CDFILIAL) AND (NRCOMANDA = :P_NRCOMANDA) AND (NRPRODCOMVEN = :P_NRPRODCOMVEN)");

const QString kChavePedido = QStringLiteral(
    "(CDFILIAL = :P_CDFILIAL) AND (NRVENDAREST = :P_NRVENDAREST) AND (NRCOMANDA = :P_NRCOMANDA)"
    " AND (NRPRODCOMVEN = :P_NRPRODCOMVEN)");

// The line's discount per unit times a quantity, cut to cents.
QString DescontoProporcional(TSqlDialect d, const QString& quantidade)
{
    // SQLite's numeric affinity stores 1.00 as the integer 1, and 1 / 3 would be 0.
    const QString desconto = d == TSqlDialect::SQLite ? QStringLiteral("CAST(VRDESCCOMVEN AS REAL)")
                                                      : QStringLiteral("VRDESCCOMVEN");
    return CorteCentavos(d, desconto + QStringLiteral(" / QTPRODCOMVEN * ") + quantidade);
}

QString QuantidadeParam(TSqlDialect d)
{
    // Through float8 so that a bound double keeps only its significant digits.
    if (d == TSqlDialect::PostgreSQL)
        return QStringLiteral("CAST(CAST(:QTPRODCOMVEN AS DOUBLE PRECISION) AS NUMERIC)");
    return QStringLiteral(":QTPRODCOMVEN");
}

QString InsItemCanSql(TSqlDialect d)
{
    return QStringLiteral(
               "INSERT INTO ITCOMANDAVEN (CDFILIAL, NRVENDAREST, NRCOMANDA, NRPRODCOMVEN, CDPRODUTO, QTPRODCOMVEN,"
               " VRPRECCOMVEN, TXPRODCOMVEN, IDSTPRCOMVEN, VRDESCCOMVEN, NRLUGARMESA, CDGRPOCOR, NRMESAORIG,"
               " CDLOJAORIG, DTHRINCOMVEN, IDPRODIMPFIS, CDLOJA, VRACRCOMVEN, IDPRODPRODUZ, DTHRPRODCANVEN,"
               " CDSENHAPED, CDSUPERVISOR, CDOPERCANC)"
               " SELECT CDFILIAL, NRVENDAREST, NRCOMANDA, %1 AS NRPRODCOMVEN, CDPRODUTO, %2 AS QTPRODCOMVEN,"
               " VRPRECCOMVEN, %3 AS TXPRODCOMVEN, %4 AS IDSTPRCOMVEN, %5, NRLUGARMESA, %6 AS CDGRPOCOR,"
               " NRMESAORIG, CDLOJAORIG, %7 AS DTHRINCOMVEN, IDPRODIMPFIS, CDLOJA, VRACRCOMVEN,"
               " %8 AS IDPRODPRODUZ, %9, %10, %11 AS CDSUPERVISOR, %12 AS CDOPERCANC"
               " FROM ITCOMANDAVEN WHERE ")
               .arg(ParamTipado(d, QStringLiteral("NRPRODCOMVEN"), "VARCHAR"), QuantidadeParam(d),
                    ParamTipado(d, QStringLiteral("TXPRODCOMVEN"), "VARCHAR"),
                    ParamTipado(d, QStringLiteral("IDSTPRCOMVEN"), "VARCHAR"),
                    DescontoProporcional(d, QuantidadeParam(d)), ParamTipado(d, QStringLiteral("CDGRPOCOR"), "VARCHAR"),
                    ParamTipado(d, QStringLiteral("DTHRINCOMVEN"), "TIMESTAMP"),
                    ParamTipado(d, QStringLiteral("IDPRODPRODUZ"), "VARCHAR"),
                    ParamTipado(d, QStringLiteral("DTHRPRODCANVEN"), "TIMESTAMP"))
               .arg(ParamTipado(d, QStringLiteral("CDSENHAPED"), "VARCHAR"),
                    ParamTipado(d, QStringLiteral("P_CDSUPERVISOR"), "VARCHAR"),
                    ParamTipado(d, QStringLiteral("P_CDOPERCANC"), "VARCHAR"))
        + kChaveItem;
}

QString UpdQuantSql(TSqlDialect d)
{
    return QStringLiteral("UPDATE ITCOMANDAVEN SET QTPRODCOMVEN = :QTPRODCOMVEN, VRDESCCOMVEN = ")
        + DescontoProporcional(d, QuantidadeParam(d)) + QStringLiteral(" WHERE ") + kChaveItem;
}

// The item's row stays locked from this read to the commit, so that two tills
// cancelling the same item act one after the other, the second on what the
// first left.
QString ItemSql(TSqlDialect d)
{
    return SelecionaParaAtualizar(d, QStringLiteral("QTPRODCOMVEN, CDSENHAPED, IDSTPRCOMVEN, NRSEQBENECONSIT"),
                                  QStringLiteral("ITCOMANDAVEN"), kChaveItem);
}

} // namespace

void TrdmCancelaProd::DefineSqlCancelamento()
{
    adqItem.SetSQL(ItemSql(TSqlDialect::SQLite));
    FillStorage(AddStorage(&adqItem, QStringLiteral("assItem")), ItemSql);

    acmInsItemCan.SetSQL(InsItemCanSql(TSqlDialect::MSSQL));
    FillStorage(AddStorage(&acmInsItemCan, QStringLiteral("assInsItemCan")), InsItemCanSql);

    acmUpdQuant.SetSQL(UpdQuantSql(TSqlDialect::MSSQL));
    FillStorage(AddStorage(&acmUpdQuant, QStringLiteral("assUpdQuant")), UpdQuantSql);

    acmUpdStatus.SetSQL(
        QStringLiteral("UPDATE ITCOMANDAVEN SET IDSTPRCOMVEN = '6', CDGRPOCOR = :CDGRPOCOR,"
                       " TXPRODCOMVEN = :TXPRODCOMVEN, CDSUPERVISOR = :P_CDSUPERVISOR, NRSEQBENECONSIT = NULL,"
                       " IDPRODPRODUZ = :IDPRODPRODUZ, DTHRPRODCANVEN = :DTHRPRODCANVEN,"
                       " CDOPERCANC = :P_CDOPERCANC WHERE ")
        + kChaveItem);

    adqItPedidoQrvRel.SetSQL(QStringLiteral("SELECT 1 FROM ITPEDIDOQRVREL WHERE ") + kChavePedido);

    acmUpdQtdeItPedidoQrv.SetSQL(
        QStringLiteral("UPDATE ITPEDIDOQRV SET QTPRODPEQRV = QTPRODPEQRV - :P_QUANTIDADE WHERE ") + kChavePedido);
    acmUpdQtdeItPedidoQrvRel.SetSQL(
        QStringLiteral("UPDATE ITPEDIDOQRVREL SET QTPRODPEQRV = QTPRODPEQRV - :P_QUANTIDADE WHERE ") + kChavePedido);

    acmUpdSitItPedidoQrv.SetSQL(
        QStringLiteral("UPDATE ITPEDIDOQRV SET IDSITITPEDQRV = :P_IDSITITPEDQRV, DTCANCITPED = :P_DTCANCITPED WHERE ")
        + kChavePedido);
    acmUpdSitItPedidoQrvRel.SetSQL(QStringLiteral("UPDATE ITPEDIDOQRVREL SET IDSITITPEDQRV = :P_IDSITITPEDQRV WHERE ")
                                   + kChavePedido);
}
