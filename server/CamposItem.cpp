#include "CamposItem.h"

#include "FieldDefs.h"

QList<TFieldDef> CamposItem(bool comandaOriAntes)
{
    QList<TFieldDef> f{
        StringField(QStringLiteral("IDCHECK"), 1),
        StringField(QStringLiteral("NRPRODCOMVEN"), 6),
        FloatField(QStringLiteral("QTPRODCOMVEN")),
        FloatField(QStringLiteral("VRPRECCOMVEN")),
        StringField(QStringLiteral("TXPRODCOMVEN"), 2000),
        StringField(QStringLiteral("IDSTPRCOMVEN"), 1),
        FloatField(QStringLiteral("VRDESCCOMVEN")),
        StringField(QStringLiteral("CDARVPROD"), 20),
        StringField(QStringLiteral("NMPRODUTO"), 50, true),
        StringField(QStringLiteral("CDPRODUTO"), 10),
        DateTimeField(QStringLiteral("DTHRINCOMVEN")),
        StringField(QStringLiteral("NRCOMANDA"), 10),
        StringField(QStringLiteral("IDPRODIMPFIS"), 1),
        StringField(QStringLiteral("NRSEQPRODCOM"), 3),
        FloatField(QStringLiteral("VRACRCOMVEN")),
        FloatField(QStringLiteral("VRACRCOMANDA")),
        StringField(QStringLiteral("IDPESAPROD"), 1),
        StringField(QStringLiteral("DSCOMANDAORI"), 10),
        StringField(QStringLiteral("NRPRODCOMORI"), 6),
        StringField(QStringLiteral("NRCOMANDAORI"), 10),
        StringField(QStringLiteral("CDVENDEDOR"), 4, false, QStringLiteral("Garçom")),
        StringField(QStringLiteral("NRVENDAREST"), 10),
        StringField(QStringLiteral("NRLUGARMESA"), 4),
        StringField(QStringLiteral("NRSEQBENECONSIT"), 10),
        StringField(QStringLiteral("IDDIVIDECONTA"), 1),
        StringField(QStringLiteral("NRSEQPRODPAI"), 6),
        StringField(QStringLiteral("CDPRODPROMOCAO"), 10),
    };
    if (comandaOriAntes)
        f.swapItemsAt(18, 19);
    return f;
}
