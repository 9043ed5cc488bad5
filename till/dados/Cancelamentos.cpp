#include "Cancelamentos.h"

#include <QMap>
#include <cmath>

namespace {

void Soma(TTotalCancelamentos& total, const TCancelamento& c)
{
    ++total.Itens;
    total.QuantidadeMilesimos += c.QuantidadeMilesimos;
    total.ValorCentavos += c.ValorCentavos;
}

QList<TTotalCancelamentos> Totais(const QList<TCancelamento>& linhas, QString (*chave)(const TCancelamento&))
{
    QMap<QString, TTotalCancelamentos> porChave;
    for (const TCancelamento& c : linhas) {
        TTotalCancelamentos& total = porChave[chave(c)];
        total.Chave = chave(c);
        Soma(total, c);
    }
    return porChave.values();
}

// An exact decimal from whole and fractional parts: the locale's digits and
// separators without going through a binary fraction.
QString TextoDecimal(qint64 escalado, qint64 escala, int casas, bool cortaZeros, const QLocale& locale, bool comGrupos)
{
    QLocale l = locale;
    l.setNumberOptions(comGrupos ? QLocale::DefaultNumberOptions : QLocale::OmitGroupSeparator);
    const qint64 absoluto = escalado < 0 ? -escalado : escalado;
    QString texto = l.toString(absoluto / escala);
    QString fracao = QStringLiteral("%1").arg(absoluto % escala, casas, 10, QLatin1Char('0'));
    if (cortaZeros)
        while (fracao.endsWith(QLatin1Char('0')))
            fracao.chop(1);
    if (!fracao.isEmpty()) {
        for (QChar& d : fracao)
            d = l.toString(d.digitValue()).at(0);
        texto += l.decimalPoint() + fracao;
    }
    return escalado < 0 ? l.negativeSign() + texto : texto;
}

} // namespace

TRelatorioCancelamentos MontaRelatorio(const QDate& de, const QDate& ate, QList<TCancelamento> linhas)
{
    TRelatorioCancelamentos r;
    r.De = de;
    r.Ate = ate;
    r.PorMotivo = Totais(linhas, MotivoMostrado);
    r.PorOperador = Totais(linhas, OperadorMostrado);
    r.Geral.Chave = QStringLiteral("Total");
    for (const TCancelamento& c : linhas)
        Soma(r.Geral, c);
    r.Linhas = std::move(linhas);
    return r;
}

qint64 EmMilesimos(double quantidade)
{
    return std::llround(quantidade * 1000.0);
}

qint64 EmCentavos(double valor)
{
    return std::llround(valor * 100.0);
}

qint64 ValorCancelado(qint64 quantidadeMilesimos, qint64 precoCentavos, qint64 descontoCentavos)
{
    const qint64 bruto = quantidadeMilesimos * precoCentavos; // cents in thousandths
    const qint64 arredondado = bruto >= 0 ? (bruto + 500) / 1000 : -((-bruto + 500) / 1000);
    return arredondado - descontoCentavos;
}

QString TextoQuantidade(qint64 milesimos, const QLocale& locale, bool comGrupos)
{
    return TextoDecimal(milesimos, 1000, 3, true, locale, comGrupos);
}

QString TextoValor(qint64 centavos, const QLocale& locale, bool comGrupos)
{
    return TextoDecimal(centavos, 100, 2, false, locale, comGrupos);
}

QString TextoPeriodo(const QDate& de, const QDate& ate, const QLocale& locale)
{
    const QString inicio = locale.toString(de, QLocale::ShortFormat);
    const QString fim = locale.toString(ate, QLocale::ShortFormat);
    if (de.isValid() && ate.isValid())
        return de == ate ? QStringLiteral("de %1").arg(inicio) : QStringLiteral("de %1 a %2").arg(inicio, fim);
    if (de.isValid())
        return QStringLiteral("a partir de %1").arg(inicio);
    if (ate.isValid())
        return QStringLiteral("até %1").arg(fim);
    return QStringLiteral("todo o período");
}

QString MotivoMostrado(const TCancelamento& c)
{
    const QString motivo = c.Motivo.trimmed();
    return motivo.isEmpty() ? QStringLiteral("(sem motivo)") : motivo;
}

QString OperadorMostrado(const TCancelamento& c)
{
    const QString operador = c.Operador.trimmed();
    return operador.isEmpty() ? QStringLiteral("(sem operador)") : operador;
}
