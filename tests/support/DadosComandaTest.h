#pragma once
// Per-engine database tests that arrange their orders through DadosComanda.
#include "DadosComanda.h"
#include "DbFixture.h"

class DadosComandaTest : public DbEngineTest {
protected:
    DadosComanda data{[this](const QString& sql, const QVariantList& b) { exec(sql, b); }};

    // Every row of the tables the writes touch, to compare before and after a call.
    QList<QList<QVariantList>> TabelasEscritas()
    {
        QList<QList<QVariantList>> out;
        for (const char* tabela :
             {"COMANDAVEN", "ITCOMANDAVEN", "ITPEDIDOQRV", "ITPEDIDOQRVREL", "MOVBENEFICIOCTR", "MOVBENEFICIOCONS"})
            out << rows(QStringLiteral("SELECT * FROM %1 ORDER BY 1, 2, 3, 4").arg(QLatin1String(tabela)));
        return out;
    }
};

// The same, with the default sale and its tab already in place.
class OpenTabTest : public DadosComandaTest {
protected:
    void SetUp() override
    {
        DadosComandaTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        data.VendaComComanda();
    }
};
