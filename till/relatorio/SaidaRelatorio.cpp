#include "SaidaRelatorio.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>
#include <algorithm>
#include <functional>

#include "ColunasRelatorio.h"

namespace {

// A table whose columns are as wide as their widest text; the last column is
// not padded, so long reasons leave no trailing blanks.
template <typename Registro, typename Coluna>
QString Tabela(const QList<Registro>& registros, int colunas, const std::function<QString(Coluna)>& titulo,
               const QLocale& locale)
{
    using namespace ColunasRelatorio;
    QList<QStringList> linhas;
    QStringList titulos;
    QList<qsizetype> larguras;
    for (int k = 0; k < colunas; ++k) {
        titulos << titulo(Coluna(k));
        larguras << titulos.last().size();
    }
    for (const Registro& r : registros) {
        QStringList textos;
        for (int k = 0; k < colunas; ++k) {
            textos << Texto(r, Coluna(k), locale);
            larguras[k] = std::max(larguras[k], textos.last().size());
        }
        linhas << textos;
    }
    const auto monta = [&](const QStringList& textos) {
        QString linha;
        for (int k = 0; k < colunas; ++k) {
            if (k > 0)
                linha += QStringLiteral("  ");
            if (Numerica(Coluna(k)))
                linha += textos[k].rightJustified(larguras[k]);
            else
                linha += k == colunas - 1 ? textos[k] : textos[k].leftJustified(larguras[k]);
        }
        return linha + QLatin1Char('\n');
    };
    QString texto = monta(titulos);
    for (const QStringList& l : linhas)
        texto += monta(l);
    return texto;
}

QString TabelaTotais(const QString& chave, const QList<TTotalCancelamentos>& totais, const QLocale& locale)
{
    using ColunasRelatorio::Total;
    return Tabela<TTotalCancelamentos, Total>(
        totais, ColunasRelatorio::Totais, [&](Total c) { return ColunasRelatorio::Titulo(c, chave); }, locale);
}

QString CampoCsv(const QString& texto)
{
    if (!texto.contains(QLatin1Char(';')) && !texto.contains(QLatin1Char('"')) && !texto.contains(QLatin1Char('\n'))
        && !texto.contains(QLatin1Char('\r')))
        return texto;
    QString dobrado = texto;
    dobrado.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + dobrado + QLatin1Char('"');
}

// A text a spreadsheet would run as a formula (=HYPERLINK(...), +, -, @, or
// one hidden behind a tab or carriage return) gets a leading apostrophe, which
// makes it plain text there; a number stays a number.
QString TextoCsv(const QString& texto)
{
    static const QRegularExpression numero(QStringLiteral("^-?\\d+([.,]\\d+)?$"));
    static const QString perigosos = QStringLiteral("=+-@\t\r");
    if (texto.isEmpty() || !perigosos.contains(texto.front()) || numero.match(texto).hasMatch())
        return CampoCsv(texto);
    return CampoCsv(QLatin1Char('\'') + texto);
}

} // namespace

QString RelatorioEmTexto(const TRelatorioCancelamentos& r, const QLocale& locale)
{
    QString texto = QStringLiteral("Cancelamentos de produto, %1\n\n").arg(TextoPeriodo(r.De, r.Ate, locale));
    if (r.Linhas.isEmpty())
        return texto + kNenhumCancelamento + QLatin1Char('\n');

    texto += Tabela<TCancelamento, ColunasRelatorio::Linha>(
        r.Linhas, ColunasRelatorio::Linhas, [](ColunasRelatorio::Linha c) { return ColunasRelatorio::Titulo(c); },
        locale);
    texto += QStringLiteral("\nTotais por motivo\n") + TabelaTotais(QStringLiteral("Motivo"), r.PorMotivo, locale);
    texto += QStringLiteral("\nTotais por operador\n")
        + TabelaTotais(QStringLiteral("Operador"), r.PorOperador, locale);
    texto += QStringLiteral("\nTotal geral: %1 %2, quantidade %3, valor %4\n")
                 .arg(locale.toString(r.Geral.Itens),
                      r.Geral.Itens == 1 ? QStringLiteral("cancelamento") : QStringLiteral("cancelamentos"),
                      TextoQuantidade(r.Geral.QuantidadeMilesimos, locale), TextoValor(r.Geral.ValorCentavos, locale));
    return texto;
}

QByteArray RelatorioEmCsv(const TRelatorioCancelamentos& r)
{
    const QLocale brasil(QLocale::Portuguese, QLocale::Brazil);
    QStringList linhas;
    linhas << QStringLiteral("Data/hora;Filial;Comanda;Descrição da comanda;Mesa;Item;Código do produto;Produto;"
                             "Quantidade;Valor;Operador;Autorizador;Grupo do motivo;Motivo");
    for (const TCancelamento& c : r.Linhas) {
        const QStringList campos{c.Momento.isValid() ? c.Momento.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))
                                                     : QString(),
                                 c.Filial,
                                 c.Comanda,
                                 c.DsComanda,
                                 c.Mesa,
                                 c.Item,
                                 c.Produto,
                                 c.NomeProduto,
                                 TextoQuantidade(c.QuantidadeMilesimos, brasil, false),
                                 TextoValor(c.ValorCentavos, brasil, false),
                                 c.Operador,
                                 c.Autorizador,
                                 c.GrupoMotivo,
                                 c.Motivo};
        QStringList escapados;
        for (qsizetype k = 0; k < campos.size(); ++k)
            escapados << (k == 0 || k == 8 || k == 9 ? CampoCsv(campos.at(k)) : TextoCsv(campos.at(k)));
        linhas << escapados.join(QLatin1Char(';'));
    }
    return QByteArray("\xEF\xBB\xBF") + (linhas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

bool GravaRelatorioCsv(const TRelatorioCancelamentos& relatorio, const QString& arquivo, QString& erro)
{
    // The usual mistakes said in Portuguese; anything else in the system's words.
    const QFileInfo info(arquivo);
    QString motivo;
    if (info.isDir())
        motivo = QStringLiteral("é uma pasta");
    else if (info.exists() && !info.isFile())
        motivo = QStringLiteral("não é um arquivo comum (dispositivo, fila ou soquete); escolha um arquivo");
    else if (!info.absoluteDir().exists())
        motivo = QStringLiteral("a pasta %1 não existe").arg(QDir::toNativeSeparators(info.absolutePath()));
    if (motivo.isEmpty()) {
        QSaveFile saida(arquivo);
        if (saida.open(QIODevice::WriteOnly) && saida.write(RelatorioEmCsv(relatorio)) >= 0 && saida.commit())
            return true;
        motivo = saida.errorString();
    }
    erro = QStringLiteral("Não foi possível gravar %1: %2").arg(QDir::toNativeSeparators(arquivo), motivo);
    return false;
}
