#include "MotivosCancelamento.h"

#include <QFile>
#include <QTextStream>

#include "ConexaoCaixa.h"
#include "Connection.h"
#include "HostServices.h"
#include "OcorrenciasSql.h"
#include "ado/ADO.h"

namespace {

QList<TMotivo> Le(TADOConnection& c, bool todas, const QString& cdFilial, const QString& cdLoja,
                  const QString& cdProduto)
{
    TADOQuery q(&c, todas ? QStringLiteral("adqOcorrTodos") : QStringLiteral("adqOcorCanc"));
    q.SetSQL(OcorrenciasSql(todas));
    q.SetParam(QStringLiteral("P_CDFILIAL"), cdFilial);
    q.SetParam(QStringLiteral("P_CDLOJA"), cdLoja);
    q.SetParam(QStringLiteral("P_CDPRODUTO"), todas ? QString() : cdProduto);
    q.SetParam(QStringLiteral("P_TCDPRODUTO"), todas ? QStringLiteral("T") : QString());
    q.Open();
    QList<TMotivo> motivos;
    for (q.First(); !q.Eof(); q.Next())
        motivos.append({q.FieldAsString(QStringLiteral("CDGRPOCOR")), q.FieldAsString(QStringLiteral("CDOCORR")),
                        q.FieldAsString(QStringLiteral("DSOCORR"))});
    return motivos;
}

} // namespace

QList<TMotivo> MotivosDoBanco(const QString& cdFilial, const QString& cdLoja, const QString& cdProduto)
{
    TADOConnection c(nullptr, QStringLiteral("adcMotivosTill"));
    try {
        ConectaCaixa(c);
        const QList<TMotivo> doProduto = Le(c, false, cdFilial, cdLoja, cdProduto);
        return doProduto.isEmpty() ? Le(c, true, cdFilial, cdLoja, cdProduto) : doProduto;
    } catch (const std::exception& e) {
        throw Exception(ADOExceptionMessage(e, c, QString()));
    }
}

QString ArquivoMotivos()
{
    return HostFolder() + QStringLiteral("/MotivosCancelamento.txt");
}

QList<TMotivo> MotivosDoArquivo()
{
    QList<TMotivo> motivos;
    QFile file(ArquivoMotivos());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return motivos;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString linha = in.readLine().trimmed();
        const qsizetype barra = linha.indexOf(QLatin1Char('|'));
        if (barra > 0 && !linha.mid(barra + 1).trimmed().isEmpty())
            motivos.append({linha.left(barra).trimmed(), QString(), linha.mid(barra + 1).trimmed()});
    }
    return motivos;
}
