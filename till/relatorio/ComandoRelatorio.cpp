#include "ComandoRelatorio.h"

#include <QFileInfo>
#include <QLocale>
#include <cstdio>

#include "ConsultaCancelamentos.h"
#include "Exception.h"
#include "SaidaRelatorio.h"

namespace {

void Escreve(std::FILE* saida, const QString& texto)
{
    std::fputs(texto.toUtf8().constData(), saida);
    std::fflush(saida);
}

int Recusa(const QString& mensagem)
{
    const QString uso = QString::fromUtf8(kUsoRelatorio).section(QLatin1Char('\n'), 0, 0).trimmed();
    Escreve(stderr, QStringLiteral("Erro: %1\nUso: %2\n").arg(mensagem, uso));
    return 2;
}

// The locale's short form with the year in four digits, so that 08/12/2026
// reads as 2026 and not 1926 in a locale whose short year has two.
QString FormatoDia(const QLocale& locale)
{
    QString formato = locale.dateFormat(QLocale::ShortFormat);
    if (!formato.contains(QLatin1String("yyyy")))
        formato.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return formato;
}

} // namespace

QDate LeDataDigitada(const QString& texto)
{
    const QString t = texto.trimmed();
    const QLocale locale;
    // Also without the leading zeros people often leave out (8/12/2026).
    QString semZeros = FormatoDia(locale);
    semZeros.replace(QLatin1String("dd"), QLatin1String("d")).replace(QLatin1String("MM"), QLatin1String("M"));
    for (const QString& formato : {FormatoDia(locale), semZeros, QStringLiteral("yyyy-MM-dd")}) {
        const QDate dia = locale.toDate(t, formato);
        if (dia.isValid())
            return dia;
    }
    return QDate();
}

int ExecutaRelatorio(const QStringList& argumentos)
{
    QStringList args = argumentos;
    if (args.value(0) == QLatin1String("--report"))
        args.removeFirst();

    QDate de, ate;
    QString csv;
    QStringList vistas;
    for (qsizetype k = 0; k < args.size(); ++k) {
        const QString opcao = args.at(k);
        if (opcao != QLatin1String("--from") && opcao != QLatin1String("--to") && opcao != QLatin1String("--csv"))
            return Recusa(QStringLiteral("opção desconhecida: %1").arg(opcao));
        if (vistas.contains(opcao))
            return Recusa(QStringLiteral("a opção %1 foi dada duas vezes.").arg(opcao));
        vistas << opcao;
        if (k + 1 >= args.size() || args.at(k + 1).trimmed().isEmpty())
            return Recusa(opcao == QLatin1String("--csv") ? QStringLiteral("falta o nome do arquivo depois de --csv.")
                                                          : QStringLiteral("falta a data depois de %1.").arg(opcao));
        const QString valor = args.at(++k);
        if (opcao == QLatin1String("--csv")) {
            csv = valor;
            continue;
        }
        const QDate dia = LeDataDigitada(valor);
        if (!dia.isValid())
            return Recusa(QStringLiteral("data inválida em %1: \"%2\". Use o dia como %3 ou 2026-12-08.")
                              .arg(opcao, valor, QLocale().toString(QDate(2026, 12, 8), FormatoDia(QLocale()))));
        (opcao == QLatin1String("--from") ? de : ate) = dia;
    }
    if (de.isValid() && ate.isValid() && de > ate)
        return Recusa(
            QStringLiteral("o período começa depois de terminar: --from %1 é posterior a --to %2.")
                .arg(QLocale().toString(de, QLocale::ShortFormat), QLocale().toString(ate, QLocale::ShortFormat)));

    // Refused before the query: a device or pipe is never replaced by the report.
    if (const QFileInfo alvo(csv); !csv.isEmpty() && alvo.exists() && !alvo.isFile() && !alvo.isDir()) {
        Escreve(stderr,
                QStringLiteral("Erro: %1 não é um arquivo comum (dispositivo, fila ou soquete); escolha um "
                               "arquivo.\n")
                    .arg(csv));
        return 1;
    }

    TRelatorioCancelamentos relatorio;
    try {
        relatorio = ConsultaCancelamentos(de, ate);
    } catch (const Exception& e) {
        Escreve(stderr, QStringLiteral("Erro: %1\n").arg(e.Message()));
        return 1;
    }

    if (csv.isEmpty()) {
        Escreve(stdout, RelatorioEmTexto(relatorio, QLocale()));
        return 0;
    }
    QString erro;
    if (!GravaRelatorioCsv(relatorio, csv, erro)) {
        Escreve(stderr, QStringLiteral("Erro: %1\n").arg(erro));
        return 1;
    }
    const qsizetype quantos = relatorio.Linhas.size();
    Escreve(stdout,
            quantos == 0 ? kNenhumCancelamento + QStringLiteral(" Gravado só o cabeçalho em %1.\n").arg(csv)
                : quantos == 1
                ? QStringLiteral("1 cancelamento gravado em %1.\n").arg(csv)
                : QStringLiteral("%1 cancelamentos gravados em %2.\n").arg(QLocale().toString(quantos), csv));
    return 0;
}
