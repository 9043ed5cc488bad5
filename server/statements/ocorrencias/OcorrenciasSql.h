#pragma once
// The cancellation reasons of a store's group: those linked to one product, or
// (todas) the whole list. Read by the data module and by the till's reason
// dialog, which runs it on a connection of its own.
#include <QString>

inline QString OcorrenciasSql(bool todas)
{
    const QString tabelas = todas ? QStringLiteral("GRUPOCOR GR, OCORRENCIA OC, PRODOCORRE PR , LOJA LJ")
                                  : QStringLiteral("GRUPOCOR GR, LOJA LJ, OCORRENCIA OC, PRODOCORRE PR");
    // The whole list ties the reasons to any product by CDOCORR alone.
    const QString grupoProduto = todas ? QString() : QStringLiteral(" AND (PR.CDGRPOCOR = GR.CDGRPOCOR)");
    return QStringLiteral("SELECT DISTINCT OC.CDGRPOCOR, OC.CDOCORR, OC.CDTIPRISCO, OC.DSOCORR FROM ") + tabelas
        + QStringLiteral(" WHERE (OC.CDGRPOCOR = GR.CDGRPOCOR)") + grupoProduto
        + QStringLiteral(" AND (PR.CDOCORR = OC.CDOCORR) AND (OC.CDGRPOCOR = LJ.CDGRPOCORCAN)"
                         " AND (LJ.CDFILIAL = :P_CDFILIAL) AND (LJ.CDLOJA = :P_CDLOJA)"
                         " AND ((PR.CDPRODUTO = :P_CDPRODUTO) OR (:P_TCDPRODUTO = 'T')) ORDER BY OC.CDOCORR");
}
