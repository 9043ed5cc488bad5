#include "ConsultaCancelamentos.h"

#include "ConexaoCaixa.h"
#include "Connection.h"
#include "FieldDefs.h"
#include "Schema.h"
#include "ado/ADO.h"

static_assert(KvpSchema::kCasasQuantidade == 3, "the report keeps quantities in thousandths");

namespace {

// Both engines compare the cancellation time with the day as ISO text: SQLite
// keeps times as text ("2026-12-08T19:30:00.000", or with a blank where the
// T is when written by hand), and any time of a day sorts at or after the
// day's own text; PostgreSQL reads the text as that day's midnight.
QString Dia(const QDate& dia)
{
    return dia.toString(Qt::ISODate);
}

QString Texto(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString().trimmed();
}

QList<TFieldDef> Campos()
{
    QList<TFieldDef> campos;
    for (const char* nome : {"CDFILIAL", "NRCOMANDA", "DSCOMANDA", "NRMESA", "NRPRODCOMVEN", "CDPRODUTO", "NMPRODUTO",
                             "CDOPERCANC", "CDSUPERVISOR", "CDGRPOCOR", "TXPRODCOMVEN"})
        campos << StringField(QString::fromLatin1(nome));
    for (const char* nome : {"QTPRODCOMVEN", "VRPRECCOMVEN", "VRDESCCOMVEN"})
        campos << FloatField(QString::fromLatin1(nome));
    campos << DateTimeField(QStringLiteral("DTHRPRODCANVEN"));
    return campos;
}

} // namespace

QList<TCancelamento> LeCancelamentos(TADOConnection& conexao, const QDate& de, const QDate& ate)
{
    QString sql = QStringLiteral(
        "SELECT I.CDFILIAL, I.NRCOMANDA, C.DSCOMANDA, V.NRMESA, I.NRPRODCOMVEN, I.CDPRODUTO, P.NMPRODUTO,"
        " I.CDOPERCANC, I.CDSUPERVISOR, I.CDGRPOCOR, I.TXPRODCOMVEN, I.QTPRODCOMVEN, I.VRPRECCOMVEN,"
        " I.VRDESCCOMVEN, I.DTHRPRODCANVEN"
        " FROM ITCOMANDAVEN I"
        " LEFT JOIN COMANDAVEN C ON C.CDFILIAL = I.CDFILIAL AND C.NRCOMANDA = I.NRCOMANDA"
        " LEFT JOIN VENDAREST V ON V.CDFILIAL = I.CDFILIAL AND V.NRVENDAREST = I.NRVENDAREST"
        " LEFT JOIN PRODUTO P ON P.CDPRODUTO = I.CDPRODUTO"
        " WHERE I.IDSTPRCOMVEN = '6'");
    if (de.isValid())
        sql += QStringLiteral(" AND I.DTHRPRODCANVEN >= :P_DTINICIO");
    if (ate.isValid())
        sql += QStringLiteral(" AND I.DTHRPRODCANVEN < :P_DTFIM");
    // Lines without a time first on both engines (they disagree on where nulls sort).
    sql += QStringLiteral(" ORDER BY CASE WHEN I.DTHRPRODCANVEN IS NULL THEN 0 ELSE 1 END, I.DTHRPRODCANVEN,"
                          " I.CDFILIAL, I.NRCOMANDA, I.NRPRODCOMVEN");

    TADOQuery consulta(&conexao, QStringLiteral("adqRelCancelamentos"));
    consulta.SetSQL(sql);
    if (de.isValid())
        consulta.SetParam(QStringLiteral("P_DTINICIO"), Dia(de));
    if (ate.isValid())
        consulta.SetParam(QStringLiteral("P_DTFIM"), Dia(ate.addDays(1)));
    consulta.PersistentFields = Campos();
    consulta.Open();

    QList<TCancelamento> linhas;
    linhas.reserve(consulta.RecordCount());
    for (consulta.First(); !consulta.Eof(); consulta.Next()) {
        const auto campo = [&](const char* nome) { return consulta.FieldValue(QString::fromLatin1(nome)); };
        TCancelamento c;
        c.Momento = campo("DTHRPRODCANVEN").toDateTime();
        c.Filial = Texto(campo("CDFILIAL"));
        c.Comanda = Texto(campo("NRCOMANDA"));
        c.DsComanda = Texto(campo("DSCOMANDA"));
        c.Mesa = Texto(campo("NRMESA"));
        c.Item = Texto(campo("NRPRODCOMVEN"));
        c.Produto = Texto(campo("CDPRODUTO"));
        c.NomeProduto = Texto(campo("NMPRODUTO"));
        c.QuantidadeMilesimos = EmMilesimos(campo("QTPRODCOMVEN").toDouble());
        c.ValorCentavos = ValorCancelado(c.QuantidadeMilesimos, EmCentavos(campo("VRPRECCOMVEN").toDouble()),
                                         EmCentavos(campo("VRDESCCOMVEN").toDouble()));
        c.Operador = Texto(campo("CDOPERCANC"));
        c.Autorizador = Texto(campo("CDSUPERVISOR"));
        c.GrupoMotivo = Texto(campo("CDGRPOCOR"));
        c.Motivo = Texto(campo("TXPRODCOMVEN"));
        linhas << c;
    }
    consulta.Close();
    return linhas;
}

TRelatorioCancelamentos ConsultaCancelamentos(const QDate& de, const QDate& ate)
{
    TADOConnection conexao(nullptr, QStringLiteral("adcRelCancelamentos"));
    // Raises with the text naming the database, its password hidden.
    ConectaCaixa(conexao);
    try {
        return MontaRelatorio(de, ate, LeCancelamentos(conexao, de, ate));
    } catch (const std::exception& e) {
        throw Exception(ADOExceptionMessage(e, conexao, QString()));
    }
}
