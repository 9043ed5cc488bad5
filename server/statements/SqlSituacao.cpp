#include "RdmCancelaProd.h"
#include "StatementHelpers.h"

// Tab state recomputed from its items, tab surcharge, and the benefit given
// back when an item is cancelled whole.

using namespace statements;

namespace {

const QString kChaveComanda = QStringLiteral(
    "(CDFILIAL = :P_CDFILIAL) AND (NRVENDAREST = :P_NRVENDAREST) AND (NRCOMANDA = :P_NRCOMANDA)");

const QString kBeneficioDaReserva = QStringLiteral(
    " FROM MOVBENEFICIOCTR MC, MOVBENEFICIOCONS MV WHERE MC.CDCLIENTE = MV.CDCLIENTE"
    " AND MC.CDCONSUMIDOR = MV.CDCONSUMIDOR AND MC.CDCAMPANHA = MV.CDCAMPANHA"
    " AND MC.NRSEQPRODCAMP = MV.NRSEQPRODCAMP AND MC.NRSEQBENEFICIO = MV.NRSEQBENEFICIO"
    " AND MV.NRSEQBENECONS = :P_NRSEQBENECONS");

// The balance row of the booking is matched column by column: joined into one
// text, "1"+"23" and "12"+"3" would credit another customer. The match is a
// single-row subquery, so a booking number shared by several bookings fails
// the statement (and the cancellation) instead of crediting one at random.
QString UpdQtdeBeneficioSql(TSqlDialect d)
{
    const QString colunas = QStringLiteral("CDCLIENTE, CDCONSUMIDOR, CDCAMPANHA, NRSEQPRODCAMP, NRSEQBENEFICIO");
    const QString inicio = QStringLiteral("UPDATE MOVBENEFICIOCTR SET QTDEBENEFICIO = QTDEBENEFICIO +1.0 WHERE ");
    const QString linha = QStringLiteral("(") + colunas
        + QStringLiteral(") = (SELECT MC.CDCLIENTE, MC.CDCONSUMIDOR, MC.CDCAMPANHA, MC.NRSEQPRODCAMP,"
                         " MC.NRSEQBENEFICIO")
        + kBeneficioDaReserva + QStringLiteral(")");
    switch (d) {
    case TSqlDialect::MSSQL: {
        // No row values here: one single-row subquery per column.
        QStringList partes;
        for (const QString& c : colunas.split(QStringLiteral(", ")))
            partes << QStringLiteral("%1 = (SELECT MC.%1").arg(c) + kBeneficioDaReserva + QStringLiteral(")");
        return inicio + partes.join(QStringLiteral(" AND "));
    }
    case TSqlDialect::SQLite:
        return inicio + linha
            + UmaLinhaSo(d, QStringLiteral("SELECT COUNT(*)") + kBeneficioDaReserva,
                         QStringLiteral("Mais de um consumo de benefício com este número"));
    default: return inicio + linha;
    }
}

// Lowers the tab's surcharge by an amount in one statement, so that two tills
// lowering it at once each take their own amount off what the other left. A
// tab without surcharge (0 or null) is left alone; the result never goes below
// 0 and is cut to cents (SQLite would keep 18.9399999999998).
QString UpnAcresSql(TSqlDialect d)
{
    const QString valor = ParamTipado(d, QStringLiteral("P_VRACRCOMANDA"), "DOUBLE PRECISION");
    const QString novo = QStringLiteral("VRACRCOMANDA - ") + valor;
    return QStringLiteral("UPDATE COMANDAVEN SET VRACRCOMANDA = CASE WHEN %1 <= 0 THEN 0 ELSE %2 END"
                          " WHERE (CDFILIAL = :P_CDFILIAL) AND (NRCOMANDA = :P_NRCOMANDA) AND (VRACRCOMANDA > 0)")
        .arg(novo, CorteCentavos(d, novo));
}

// The tab's row is locked before the item changes, so that two tills setting
// items of one tab recompute its state one after the other, each seeing the
// other's items. The count only makes the lock run first (a one-time filter).
QString UpdPedidosSql(TSqlDialect d)
{
    const QString update = QStringLiteral(
        "UPDATE ITCOMANDAVEN SET IDSTPRCOMVEN = :P_IDSTPRCOMVEN WHERE CDFILIAL = :P_CDFILIAL"
        " AND NRVENDAREST = :P_NRVENDAREST AND NRCOMANDA = :P_NRCOMANDA AND NRPRODCOMVEN = :P_NRPRODCOMVEN");
    if (d != TSqlDialect::PostgreSQL)
        return update; // SQLite: the transaction holds the write lock from its start
    return QStringLiteral("WITH TRAVA AS (SELECT NRCOMANDA FROM COMANDAVEN WHERE ") + kChaveComanda
        + QStringLiteral(" FOR UPDATE) ") + update + QStringLiteral(" AND (SELECT COUNT(*) FROM TRAVA) >= 0");
}

// setStatusPedidos only asks whether the tab has such items.
QString VerificaStatus2Sql(TSqlDialect d)
{
    return Existencia(d, QStringLiteral("FROM ITCOMANDAVEN WHERE (IDSTPRCOMVEN IN ('2', '3')) AND ") + kChaveComanda);
}

QString VerificaStatusSql(TSqlDialect d)
{
    return Existencia(d,
                      QStringLiteral("FROM ITCOMANDAVEN WHERE (IDSTPRCOMVEN <> '3') AND (IDSTPRCOMVEN <> '6') AND ")
                          + kChaveComanda);
}

} // namespace

void TrdmCancelaProd::DefineSqlSituacao()
{
    acmUpdPedidos.SetSQL(UpdPedidosSql(TSqlDialect::Oracle));
    FillStorage(AddStorage(&acmUpdPedidos, QStringLiteral("assUpdPedidos")), UpdPedidosSql);

    adqVerificaStatus2.SetSQL(VerificaStatus2Sql(TSqlDialect::Oracle));
    FillStorage(AddStorage(&adqVerificaStatus2, QStringLiteral("assVerificaStatus2")), VerificaStatus2Sql);
    adqVerificaStatus.SetSQL(VerificaStatusSql(TSqlDialect::Oracle));
    FillStorage(AddStorage(&adqVerificaStatus, QStringLiteral("assVerificaStatus")), VerificaStatusSql);
    acmUpdComanda.SetSQL(QStringLiteral("UPDATE COMANDAVEN SET IDSTCOMANDA = :P_IDSTCOMANDA WHERE ") + kChaveComanda);

    adqPesqAcres.SetSQL(QStringLiteral(
        "SELECT VRACRCOMANDA FROM COMANDAVEN WHERE (CDFILIAL = :P_CDFILIAL) AND (NRCOMANDA = :P_NRCOMANDA)"));
    adqBuscaSomaAcrescimo.SetSQL(
        QStringLiteral("SELECT SUM(VRACRCOMVEN) AS VRACRCOMVEN FROM ITCOMANDAVEN WHERE (CDFILIAL = :P_CDFILIAL)"
                       " AND (NRCOMANDA = :P_NRCOMANDA)"));
    AcmUpnAcres.SetSQL(UpnAcresSql(TSqlDialect::Oracle));
    FillStorage(AddStorage(&AcmUpnAcres, QStringLiteral("assUpnAcres")), UpnAcresSql);

    acmUpdQtdeBeneficio.SetSQL(UpdQtdeBeneficioSql(TSqlDialect::Oracle));
    assUpdQtdeBeneficio = AddStorage(&acmUpdQtdeBeneficio, QStringLiteral("assUpdQtdeBeneficio"));
    FillStorage(assUpdQtdeBeneficio, UpdQtdeBeneficioSql);

    acmUpdBeneficio.SetSQL(
        QStringLiteral("DELETE FROM MOVBENEFICIOCONS WHERE NRSEQBENECONS = :P_NRSEQBENECONS AND CDFILIAL = :P_CDFILIAL"
                       " AND CDCAIXA = :P_CDCAIXA"));
}
