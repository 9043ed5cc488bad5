// The till's logs: lines appended whole, never lost, when two tills (two
// processes) write to the same folder at once.
#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <numeric>

#include "LogsTill.h"
#include "SaidasTillSupport.h"

namespace {

using Logs = SaidasTillTest;

QStringList Linhas(const QString& arquivo)
{
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split(QLatin1Char('\n')) : QStringList();
}

TEST_F(Logs, DuasTillsGravandoJuntasNaoPerdemNemMisturamLinhas)
{
    const QString log = PastaLogs() + QStringLiteral("/LogImpNFiscal.txt");
    QVariantList nada;
    LogImpNFiscalTill({QStringLiteral("linha anterior")}, nada);

    const QString bin = qEnvironmentVariable("KVP_BIN_DIR", QCoreApplication::applicationDirPath());
    constexpr int kLinhas = 300;
    QProcess a, b;
    a.start(bin + QStringLiteral("/escreve_log"), {pasta.path(), QStringLiteral("A"), QString::number(kLinhas)});
    b.start(bin + QStringLiteral("/escreve_log"), {pasta.path(), QStringLiteral("B"), QString::number(kLinhas)});
    ASSERT_TRUE(a.waitForFinished(120000) && b.waitForFinished(120000));
    ASSERT_EQ(a.exitCode(), 0);
    ASSERT_EQ(b.exitCode(), 0);

    QStringList linhas = Linhas(log);
    ASSERT_EQ(linhas.size(), 2 * kLinhas + 2); // the last line ends with a break
    EXPECT_EQ(linhas.takeLast(), QString());
    EXPECT_TRUE(linhas.takeFirst().endsWith(QStringLiteral(" | linha anterior")));
    const QRegularExpression forma(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} \\| ([AB]) (\\d+) x{3000}$"));
    QMap<QString, QList<int>> vistas;
    for (const QString& l : linhas) {
        const auto m = forma.match(l);
        ASSERT_TRUE(m.hasMatch()) << l.left(80).toStdString();
        vistas[m.captured(1)].append(m.captured(2).toInt());
    }
    for (const QString& quem : {QStringLiteral("A"), QStringLiteral("B")}) {
        QList<int> esperadas(kLinhas);
        std::iota(esperadas.begin(), esperadas.end(), 0);
        EXPECT_EQ(vistas.value(quem), esperadas) << quem.toStdString();
    }
}

TEST_F(Logs, AcessoUmaLinhaComOsCamposSemQuebras)
{
    LogControleAcessTill(QStringLiteral("0001"), QStringLiteral("001"), QStringLiteral("CAN_ULT"),
                         QStringLiteral("0007"), QStringLiteral("Maria"), QStringLiteral("0099"),
                         QStringLiteral("Cancelamento"), QStringLiteral("FEIJOADA\nQtde 1"), QStringLiteral("V1"),
                         QStringLiteral("1010"), QStringLiteral("RES_10"), QStringLiteral("10"), 0, 0);
    const QStringList linhas = Linhas(PastaLogs() + QStringLiteral("/LogControleAcess.txt"));
    ASSERT_EQ(linhas.size(), 2);
    EXPECT_TRUE(linhas.at(0).endsWith(QStringLiteral(" | 0001 | 001 | CAN_ULT | 0007 | Maria | 0099 | Cancelamento | "
                                                     "FEIJOADA Qtde 1 | V1 | 1010 | RES_10 | 10")))
        << linhas.at(0).toStdString();
}

// Stamped by the till's clock, to the millisecond.
TEST_F(Logs, HoraDoRelogioDoCaixa)
{
    const RelogioParado relogio(QDateTime(QDate(2026, 12, 8), QTime(19, 30, 5, 120)));
    QVariantList nada;
    LogImpNFiscalTill({QStringLiteral("no relógio do caixa")}, nada);
    const QStringList linhas = Linhas(PastaLogs() + QStringLiteral("/LogImpNFiscal.txt"));
    ASSERT_EQ(linhas.size(), 2);
    EXPECT_EQ(linhas.at(0), QStringLiteral("2026-12-08 19:30:05.120 | no relógio do caixa"));
}

} // namespace
