#include "ItemFields.h"

#include "statements/StatementHelpers.h"

using namespace statements;

QList<TFieldDef> ItemFields(bool comandaOriAntes)
{
    QList<TFieldDef> f{
        Texto(QStringLiteral("IDCHECK"), 1),
        Texto(QStringLiteral("NRPRODCOMVEN"), 6),
        Numero(QStringLiteral("QTPRODCOMVEN")),
        Numero(QStringLiteral("VRPRECCOMVEN")),
        Texto(QStringLiteral("TXPRODCOMVEN"), 2000),
        Texto(QStringLiteral("IDSTPRCOMVEN"), 1),
        Numero(QStringLiteral("VRDESCCOMVEN")),
        Texto(QStringLiteral("CDARVPROD"), 20),
        Texto(QStringLiteral("NMPRODUTO"), 50, true),
        Texto(QStringLiteral("CDPRODUTO"), 10),
        DataHora(QStringLiteral("DTHRINCOMVEN")),
        Texto(QStringLiteral("NRCOMANDA"), 10),
        Texto(QStringLiteral("IDPRODIMPFIS"), 1),
        Texto(QStringLiteral("NRSEQPRODCOM"), 3),
        Numero(QStringLiteral("VRACRCOMVEN")),
        Numero(QStringLiteral("VRACRCOMANDA")),
        Texto(QStringLiteral("IDPESAPROD"), 1),
        Texto(QStringLiteral("DSCOMANDAORI"), 10),
        Texto(QStringLiteral("NRPRODCOMORI"), 6),
        Texto(QStringLiteral("NRCOMANDAORI"), 10),
        Texto(QStringLiteral("CDVENDEDOR"), 4, false, QStringLiteral("Garçom")),
        Texto(QStringLiteral("NRVENDAREST"), 10),
        Texto(QStringLiteral("NRLUGARMESA"), 4),
        Texto(QStringLiteral("NRSEQBENECONSIT"), 10),
        Texto(QStringLiteral("IDDIVIDECONTA"), 1),
        Texto(QStringLiteral("NRSEQPRODPAI"), 6),
        Texto(QStringLiteral("CDPRODPROMOCAO"), 10),
    };
    if (comandaOriAntes)
        f.swapItemsAt(18, 19);
    return f;
}
