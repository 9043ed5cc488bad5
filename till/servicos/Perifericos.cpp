#include "Perifericos.h"

#include <QFile>
#include <QTextStream>

#include "PastaCaixa.h"

namespace {

const QString kSecaoImpressora = QStringLiteral("impressora ");

bool PaginaConhecida(const QString& pagina)
{
    return pagina == QLatin1String("IBM860") || pagina == QLatin1String("IBM850")
        || pagina == QLatin1String("windows-1252");
}

} // namespace

QString ArquivoPerifericos()
{
    return PastaCaixa() + QStringLiteral("/perifericos.ini");
}

TPerifericos LePerifericos()
{
    return LePerifericos(ArquivoPerifericos());
}

TPerifericos LePerifericos(const QString& arquivo)
{
    TPerifericos conf;
    QFile file(arquivo);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return conf;
    QTextStream in(&file);
    QString secao;
    int numero = 0;
    const auto problema = [&](const QString& texto) {
        conf.Problemas << QStringLiteral("%1, linha %2: %3").arg(arquivo).arg(numero).arg(texto);
    };
    while (!in.atEnd()) {
        ++numero;
        const QString linha = in.readLine().trimmed();
        if (linha.isEmpty() || linha.startsWith(QLatin1Char('#')) || linha.startsWith(QLatin1Char(';')))
            continue;
        if (linha.startsWith(QLatin1Char('[')) && linha.endsWith(QLatin1Char(']'))) {
            secao = linha.mid(1, linha.size() - 2).trimmed();
            if (secao.startsWith(kSecaoImpressora))
                conf.Impressoras.insert(secao.mid(kSecaoImpressora.size()).trimmed(), TImpressoraConf());
            else if (secao != QLatin1String("display") && secao != QLatin1String("geral"))
                problema(QStringLiteral("seção desconhecida [%1]").arg(secao));
            continue;
        }
        const qsizetype igual = linha.indexOf(QLatin1Char('='));
        if (igual <= 0) {
            problema(QStringLiteral("esperava chave = valor"));
            continue;
        }
        const QString chave = linha.left(igual).trimmed();
        const QString valor = linha.mid(igual + 1).trimmed();
        if (chave == QLatin1String("pagina") && !PaginaConhecida(valor)) {
            problema(
                QStringLiteral("página de código desconhecida \"%1\" (IBM860, IBM850 ou windows-1252)").arg(valor));
            continue;
        }
        if (secao.startsWith(kSecaoImpressora)) {
            TImpressoraConf& imp = conf.Impressoras[secao.mid(kSecaoImpressora.size()).trimmed()];
            if (chave == QLatin1String("reserva"))
                imp.Reserva = valor;
            else if (chave == QLatin1String("nome"))
                imp.Nome = valor;
            else if (chave == QLatin1String("pagina"))
                imp.Pagina = valor;
            else
                problema(QStringLiteral("chave desconhecida \"%1\"").arg(chave));
        } else if (secao == QLatin1String("display") && chave == QLatin1String("dispositivo")) {
            conf.DisplayDispositivo = valor;
        } else if (secao == QLatin1String("display") && chave == QLatin1String("pagina")) {
            conf.DisplayPagina = valor;
        } else if (secao == QLatin1String("geral") && chave == QLatin1String("espera")) {
            bool ok = false;
            const int ms = valor.toInt(&ok);
            if (ok && ms > 0 && ms <= 60000)
                conf.EsperaMs = ms;
            else
                problema(QStringLiteral("espera deve ser de 1 a 60000 milissegundos"));
        } else {
            problema(QStringLiteral("chave desconhecida \"%1\"").arg(chave));
        }
    }
    return conf;
}
