// The host services as the till installs them, from the services' lists: every
// procedure variable of both packages is filled and later cleared, and a run
// with the till's outputs records each output before the till does it.
#include <QFile>

#include "DataPacket.h"
#include "DisplayCliente.h"
#include "ExecucaoCenario.h"
#include "ImpressaoCancelamento.h"
#include "LogsTill.h"
#include "SaidasTillSupport.h"
#include "ScriptedHost.h"
#include "ServicosTill.h"
#include "Wdc00001.h"
#include "Wdc00002.h"

namespace {

// The services of both lists that are set (or unset, with false).
QStringList Servicos(bool instalados)
{
    QStringList nomes;
#define KVP_CONFERE(pacote, nome, tipo)                                                                                \
    if (bool(pacote::nome) == instalados)                                                                              \
        nomes << QStringLiteral(#nome);
    WDC00002_SERVICOS(KVP_CONFERE)
    WDC00001_SERVICOS(KVP_CONFERE)
#undef KVP_CONFERE
    return nomes;
}

const QStringList kTodos{"VerificaAcesso", "Observacao",       "TecladoNumerico",
                         "LogImpNFiscal",  "LogControleAcess", "DisparaImprimeCancProduto",
                         "RelFiscais",     "LimpaDisplay",     "DisplayEnviaTexto"};

TEST(ServicosTill, CadaServicoEInstaladoPelaTillEPeloHostRoteirizadoELimpoDepois)
{
    Wdc00002::ResetAll();
    Wdc00001::ResetAll();
    EXPECT_EQ(Servicos(false), kTodos);

    InstalaServicosTill();
    EXPECT_EQ(Servicos(true), kTodos);
    Wdc00002::ResetAll();
    Wdc00001::ResetAll();
    EXPECT_EQ(Servicos(false), kTodos);

    {
        ScriptedHost host;
        EXPECT_EQ(Servicos(true), kTodos);
    }
    EXPECT_EQ(Servicos(false), kTodos);
}

QStringList Linhas(const QString& arquivo)
{
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                       : QStringList();
}

QString Texto(const QString& arquivo)
{
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

using SaidasDoCaixa = SaidasTillTest;

TEST_F(SaidasDoCaixa, CadaSaidaERegistradaEDepoisFeitaPelaTillEAsPerguntasSeguemORoteiro)
{
    const QString logImp = PastaLogs() + QStringLiteral("/LogImpNFiscal.txt");
    const QString logAcesso = PastaLogs() + QStringLiteral("/LogControleAcess.txt");
    // What the till had done of each output when the host recorded the call.
    const auto feito = [&](const QString& servico) -> QString {
        if (servico == QLatin1String("LogImpNFiscal"))
            return QString::number(Linhas(logImp).size());
        if (servico == QLatin1String("LogControleAcess"))
            return QString::number(Linhas(logAcesso).size());
        if (servico == QLatin1String("DisparaImprimeCancProduto"))
            return QString::number(ListaPendentes().size());
        return Texto(ArquivoDisplay()).trimmed();
    };

    LimpaDisplayTill(); // whatever an earlier test left on it
    ScriptedHost host;
    host.AcessoRespostas = {{false, QString()}};
    UsaSaidasDoCaixa();
    QStringList registrados;
    host.OnCall = [&](const ScriptedHost::Call& c) { registrados << c.Service + QLatin1Char(':') + feito(c.Service); };

    QVariantList troca(Wdc00002::Troca::Tamanho);
    Wdc00002::LogImpNFiscal({QStringLiteral("Cancelamento de Item")}, troca);
    Wdc00002::LogControleAcess(QStringLiteral("0001"), QStringLiteral("001"), QStringLiteral("CAN_PROD"),
                               QStringLiteral("0007"), QStringLiteral("Maria"), QStringLiteral("0099"),
                               QStringLiteral("Cancelamento"), QStringLiteral("PUDIM"), QStringLiteral("10"),
                               QStringLiteral("1010"), QStringLiteral("RES_10"), QStringLiteral("10"), 0, 0);
    Wdc00001::DisplayEnviaTexto(QStringLiteral("Cancelado: PUDIM"), 1, 1, 0, 0);
    Wdc00001::LimpaDisplay();
    // A printer that is off: the ticket stays in the spool, where it is seen.
    TDataPacket p;
    for (const char* nome : {"NMPRODUTO", "QTPRODCOMVEN", "IDIMPCANITEM", "DSENDPORTA"})
        p.FieldDefs.append(TFieldDef{QLatin1String(nome)});
    p.Rows = {{QStringLiteral("PUDIM"), 1, QStringLiteral("S"), pasta.filePath(QStringLiteral("sem/impressora"))}};
    QVariantList nota(Wdc00002::NotaCancelamento::Tamanho);
    nota[Wdc00002::NotaCancelamento::Pacote] = ToVariant(p);
    nota[Wdc00002::NotaCancelamento::NrComanda] = QStringLiteral("1010");
    Wdc00002::DisparaImprimeCancProduto(nota, troca);
    QString autorizador;
    EXPECT_FALSE(Wdc00002::VerificaAcesso(31, QStringLiteral("0007"), autorizador));

    EXPECT_EQ(registrados,
              QStringList({"LogImpNFiscal:0", "LogControleAcess:0",
                           "DisplayEnviaTexto:", // nothing shown yet
                           "LimpaDisplay:Cancelado: PUDIM", "DisparaImprimeCancProduto:0", "VerificaAcesso:"}));
    EXPECT_EQ(Linhas(logImp).size(), 1);
    ASSERT_EQ(Linhas(logAcesso).size(), 1);
    EXPECT_TRUE(Linhas(logAcesso)[0].endsWith(QStringLiteral(" | CAN_PROD | 0007 | Maria | 0099 | Cancelamento | "
                                                             "PUDIM | 10 | 1010 | RES_10 | 10")))
        << Linhas(logAcesso)[0].toStdString();
    EXPECT_EQ(Texto(ArquivoDisplay()).trimmed(), QString());
    const QList<TTiquetePendente> pendentes = ListaPendentes();
    ASSERT_EQ(pendentes.size(), 1);
    EXPECT_EQ(pendentes[0].Produtos, QStringList{QStringLiteral("1 x PUDIM")});
    EXPECT_EQ(pendentes[0].Pedido, QStringLiteral("1010"));
}

} // namespace
