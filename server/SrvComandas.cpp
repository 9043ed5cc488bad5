// Order and table queries: the item list of a tab or table, the table state,
// the waiter, the balance after advance payments, the "produced?" switch and
// the cancellation reasons.
#include "ServiceGuard.h"
#include "ValueFunctions.h"

namespace {

// Empty product codes would exclude nothing on one engine and everything on
// another; "X" is a code no product has.
QString CodigoOuX(const QString& codigo)
{
    return codigo.isEmpty() ? QStringLiteral("X") : codigo;
}

} // namespace

QVariant getItemMesa(const QString& cdFilial, const QString& nrComanda, const QString& modo,
                     const QString& cdProdConsum, const QString& cdProdConsFem, const QString& cdProdCouver)
{
    return RunService([&](TrdmCancelaProd& m) -> QVariant {
        const auto bindExclusoes = [&](TADOQuery& q) {
            q.SetParam(QStringLiteral("P_CDPRODCONSUM"), CodigoOuX(cdProdConsum));
            q.SetParam(QStringLiteral("P_CDPRODCONSFEM"), CodigoOuX(cdProdConsFem));
            q.SetParam(QStringLiteral("P_CDPRODCOUVER"), CodigoOuX(cdProdCouver));
        };

        if (modo != QLatin1String("RES")) {
            TADOQuery& q = m.adqItComanda;
            q.Close();
            q.SetParam(QStringLiteral("P_CDFILIAL"), cdFilial);
            q.SetParam(QStringLiteral("P_NRCOMANDA"), nrComanda);
            bindExclusoes(q);
            q.Open();
            return m.dspItComanda.Data();
        }

        // Table service: the tab gives the sale's store and table; the list
        // holds that table and the tables joined with it.
        TADOQuery& cv = m.adqComandaVen;
        cv.Close();
        cv.SetParam(QStringLiteral("P_CDFILIAL"), cdFilial);
        cv.SetParam(QStringLiteral("P_NRCOMANDA"), nrComanda);
        cv.Open();
        QString cdLoja;
        QString nrMesa;
        if (!cv.IsEmpty()) {
            cv.First();
            cdLoja = cv.FieldAsString(QStringLiteral("CDLOJA"));
            nrMesa = cv.FieldAsString(QStringLiteral("NRMESA"));
        }

        TADOQuery& q = m.adqItComandaJuncao;
        q.Close();
        q.SetParam(QStringLiteral("P_CDFILIAL"), cdFilial);
        q.SetParam(QStringLiteral("P_CDLOJA"), cdLoja);
        q.SetParam(QStringLiteral("P_NRMESA"), nrMesa);
        bindExclusoes(q);
        return m.dspItComandaJuncao.Data();
    });
}

QVariant getValidaMesa(const QString& cdFilial, const QString& cdLoja, const QString& nrMesa)
{
    return RunService([&](TrdmCancelaProd& m) -> QVariant {
        TADOQuery& q = m.adqValidaMesa;
        q.Close();
        q.SetParam(QStringLiteral("P_CDFILIAL"), cdFilial);
        q.SetParam(QStringLiteral("P_CDLOJA"), cdLoja);
        q.SetParam(QStringLiteral("P_NRMESA"), nrMesa);
        q.Open();
        if (q.IsEmpty())
            return true; // a table without a row is free
        q.First();
        return !MesaBloqueada(q.FieldAsString(QStringLiteral("IDSTMESAAUX")));
    });
}

QVariant getGarcomMesa(const QString& cdFilial, const QString& nrComanda)
{
    return RunService([&](TrdmCancelaProd& m) -> QVariant {
        TADOQuery& q = m.adqGarcomMesa;
        q.Close();
        q.SetParam(QStringLiteral("P_CDFILIAL"), cdFilial);
        q.SetParam(QStringLiteral("P_NRCOMANDA"), nrComanda);
        q.Open();
        return m.dspGarcomMesa.Data();
    });
}

double getValAdiantamento(const QString& cdFilial, const QString& nrComanda)
{
    const QVariant total = RunService([&](TrdmCancelaProd& m) -> QVariant {
        // Without any advance payment the difference is null: nothing owed ahead.
        return ValorDaComanda(m.adqTotAdiantamento, cdFilial, nrComanda, QStringLiteral("VRFINAL"));
    });
    // A failure gives 0, which the screen reads as "no advance payment".
    return total.typeId() == QMetaType::Double ? total.toDouble() : 0.0;
}

QVariant getInfoProdProduz()
{
    return RunService([&](TrdmCancelaProd& m) -> QVariant {
        TADOQuery& q = m.adqInfoProdProduz;
        q.Close();
        q.Open();
        if (q.IsEmpty())
            return false;
        q.First();
        return q.FieldAsString(QStringLiteral("IDINFPRODPRODUZ")) == QLatin1String("S");
    });
}

QVariant getOcorCanc(const QString& cdFilial, const QString& cdLoja, const QString& cdProduto, const QString& unused)
{
    Q_UNUSED(unused);
    return RunService([&](TrdmCancelaProd& m) -> QVariant {
        TADOQuery& q = m.adqOcorCanc;
        q.Close();
        q.SetParam(QStringLiteral("P_CDFILIAL"), cdFilial);
        q.SetParam(QStringLiteral("P_CDLOJA"), cdLoja);
        q.SetParam(QStringLiteral("P_CDPRODUTO"), cdProduto);
        q.SetParam(QStringLiteral("P_TCDPRODUTO"), QString());
        q.Open();
        if (!q.IsEmpty())
            return m.dspOcorCanc.Data();

        // No reason linked to this product: the store's whole list.
        TADOQuery& todas = m.adqOcorrTodos;
        todas.Close();
        todas.SetParam(QStringLiteral("P_CDFILIAL"), cdFilial);
        todas.SetParam(QStringLiteral("P_CDLOJA"), cdLoja);
        todas.SetParam(QStringLiteral("P_CDPRODUTO"), QString());
        todas.SetParam(QStringLiteral("P_TCDPRODUTO"), QStringLiteral("T"));
        todas.Open();
        return m.dspOcorCancTodos.Data();
    });
}
