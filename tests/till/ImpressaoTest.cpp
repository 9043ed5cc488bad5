// Kitchen and bar tickets: exact ESC/POS bytes, tickets as a loopback printer
// receives them, and a dead printer's ticket going to the backup or the spool.
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <functional>

#include "DataPacket.h"
#include "EscPos.h"
#include "ImpressaoCancelamento.h"
#include "SaidasTillSupport.h"

namespace {

QByteArray B(std::initializer_list<int> bytes)
{
    QByteArray b;
    for (int x : bytes)
        b.append(char(x));
    return b;
}

struct CasoEscPos {
    const char* nome;
    std::function<void(TEscPos&)> passos;
    QString pagina;
    QByteArray esperado; // after the reset and code table bytes
};

TEST(ImpressaoEscPos, BytesExatos)
{
    const QList<CasoEscPos> casos = {
        {"so_inicio", [](TEscPos&) {}, QStringLiteral("IBM860"), {}},
        {"negrito", [](TEscPos& t) { t.Negrito(true).Negrito(false); }, QStringLiteral("IBM860"),
         B({0x1B, 'E', 1, 0x1B, 'E', 0})},
        {"duplo", [](TEscPos& t) { t.Duplo(true).Duplo(false); }, QStringLiteral("IBM860"),
         B({0x1D, '!', 0x11, 0x1D, '!', 0})},
        {"corte", [](TEscPos& t) { t.Corta(); }, QStringLiteral("IBM860"), B({0x1D, 'V', 66, 3})},
        {"acentos_cp860", [](TEscPos& t) { t.Linha(QStringLiteral("Ação")); }, QStringLiteral("IBM860"),
         B({0x41, 0x87, 0x84, 0x6F, '\n'})},
        {"acentos_1252", [](TEscPos& t) { t.Texto(QStringLiteral("Ação")); }, QStringLiteral("windows-1252"),
         B({0x41, 0xE7, 0xE3, 0x6F})},
        {"sem_o_caractere", [](TEscPos& t) { t.Texto(QStringLiteral("€1")); }, QStringLiteral("IBM860"), "?1"},
    };
    for (const CasoEscPos& c : casos) {
        TEscPos t(c.pagina);
        c.passos(t);
        const QByteArray inicio = B({0x1B, '@', 0x1B, 't', TEscPos::TabelaDaPagina(c.pagina)});
        EXPECT_EQ(t.Bytes().toHex(' '), (inicio + c.esperado).toHex(' ')) << c.nome;
    }
    EXPECT_EQ(TEscPos::TabelaDaPagina(QStringLiteral("IBM860")), 3);
    EXPECT_EQ(TEscPos::TabelaDaPagina(QStringLiteral("windows-1252")), 16);
}

// What the local stand-in printer shows of a ticket: the text in the page the
// ticket chose, without the commands.
TEST(ImpressaoEscPos, TextoImpressoSemComandosNaPaginaEscolhida)
{
    for (const char* pagina : {"IBM860", "windows-1252"}) {
        TEscPos t{QLatin1String(pagina)};
        t.Negrito(true).Duplo(true).Linha(QStringLiteral("Ação")).Duplo(false).Negrito(false);
        t.Linha(QStringLiteral("2 x PÃO")).Corta();
        EXPECT_EQ(TEscPos::TextoImpresso(t.Bytes()),
                  QStringLiteral("Ação\n2 x PÃO\n--------------------------------\n"))
            << pagina;
    }
    // A ticket that names no page is read as the printers' default.
    EXPECT_EQ(TEscPos::TextoImpresso(QByteArray("lan\x87") + "ado"), QStringLiteral("lançado"));
}

struct Linha {
    QString produto;
    double quantidade;
    QString imprime;
    QString endereco;
    QString pai = {};
};

QVariantList Dados(const QList<Linha>& linhas)
{
    TDataPacket p;
    for (const char* nome : {"NMPRODUTO", "QTPRODCOMVEN", "CDPORIMPPROD", "IDIMPCANITEM", "IDMODEIMPRES",
                             "NMPRODUTOPAI", "CDPRODUTO", "NRSEQUITVEND", "CDGRPOCOR", "DSOCORR", "DSENDPORTA"})
        p.FieldDefs.append(
            TFieldDef{QLatin1String(nome), qstrcmp(nome, "QTPRODCOMVEN") ? TFieldType::ftString : TFieldType::ftFloat});
    for (const Linha& l : linhas)
        p.Rows.append({l.produto, l.quantidade, QStringLiteral("01"), l.imprime, QString(), l.pai,
                       QStringLiteral("123"), QStringLiteral("000007"), QStringLiteral("2"),
                       QStringLiteral("Produto lançado errado"), l.endereco});
    return {false,
            QStringLiteral("1"),
            QStringLiteral("1010"),
            QStringLiteral("10"),
            QStringLiteral("João"),
            QStringLiteral("2"),
            QStringLiteral(" Produto lançado errado"),
            QString(),
            ToVariant(p),
            QStringLiteral(" Cancelamento de Pedido"),
            QStringLiteral("Cupom :"),
            QStringLiteral("Motivo :"),
            QStringLiteral("Garcom :"),
            QStringLiteral("Pedido :"),
            QStringLiteral("Mesa   :"),
            QString(),
            QStringLiteral("1010"),
            QStringLiteral("RES_10")};
}

QString Texto(const QByteArray& bytes, const char* pagina)
{
    return QStringDecoder(pagina).decode(bytes);
}

using Impressao = SaidasTillTest;

TEST_F(Impressao, UmTiquetePorImpressoraComAsLinhasQuePedemTiquete)
{
    ImpressoraLoopback cozinha, bar;
    cozinha.Escuta();
    bar.Escuta();
    EscrevePerifericos(QStringLiteral("[impressora %1]\npagina = windows-1252\n").arg(bar.Endereco()));

    ImprimeCancelamento(Dados({{QStringLiteral("FEIJOADA COMPLETA"), 2, QStringLiteral("S"), cozinha.Endereco()},
                               {QStringLiteral("CAIPIRINHA DE LIMÃO"), 0.5, QStringLiteral("S"), bar.Endereco()},
                               {QStringLiteral("PÃO DE QUEIJO"), 1, QStringLiteral("N"), cozinha.Endereco()},
                               {QStringLiteral("ARROZ"), 1, QStringLiteral("S"), cozinha.Endereco(),
                                QStringLiteral("PRATO FEITO")}}),
                        LePerifericos());

    const QByteArray bc = cozinha.Recebe();
    EXPECT_TRUE(bc.startsWith(B({0x1B, '@', 0x1B, 't', 3}))) << bc.toHex(' ').constData();
    EXPECT_TRUE(bc.endsWith(B({0x1D, 'V', 66, 3})));
    EXPECT_TRUE(bc.contains("lan\x87"
                            "ado"))
        << "ç em CP860";
    const QString c = Texto(bc, "IBM860");
    for (const char* esperado :
         {"Cancelamento de Pedido\n", "Cupom : 1010\n", "Mesa   : 10\n", "Garcom : João\n", "Pedido : 1010\n",
          "Motivo : 2 - Produto lançado errado\n", "2 x FEIJOADA COMPLETA\n", "1 x ARROZ\n", "    de PRATO FEITO\n"})
        EXPECT_TRUE(c.contains(QString::fromUtf8(esperado))) << esperado << "\n" << c.toStdString();
    EXPECT_FALSE(c.contains(QStringLiteral("QUEIJO")));
    EXPECT_FALSE(c.contains(QStringLiteral("CAIPIRINHA")));

    const QByteArray bb = bar.Recebe();
    EXPECT_TRUE(bb.startsWith(B({0x1B, '@', 0x1B, 't', 16})));
    const QString b = Texto(bb, "windows-1252");
    EXPECT_TRUE(b.contains(QStringLiteral("0,5 x CAIPIRINHA DE LIMÃO\n"))) << b.toStdString();
    EXPECT_FALSE(b.contains(QStringLiteral("FEIJOADA")));
    EXPECT_TRUE(mensagens.isEmpty()) << mensagens.join(QLatin1Char('\n')).toStdString();
}

TEST_F(Impressao, ImpressoraMortaVaiParaReservaDepoisParaPendentesAteVoltar)
{
    ImpressoraLoopback principal, reserva;
    reserva.Escuta();
    EscrevePerifericos(QStringLiteral("[geral]\nespera = 2000\n[impressora %1]\nreserva = %2\n")
                           .arg(principal.Endereco(), reserva.Endereco()));
    const QVariantList dados = Dados({{QStringLiteral("FEIJOADA"), 3, QStringLiteral("S"), principal.Endereco()}});

    ImprimeCancelamento(dados, LePerifericos());
    EXPECT_TRUE(Texto(reserva.Recebe(), "IBM860").contains(QStringLiteral("3 x FEIJOADA")));
    ASSERT_EQ(mensagens.size(), 1);
    EXPECT_TRUE(mensagens.at(0).contains(principal.Endereco()) && mensagens.at(0).contains(QStringLiteral("reserva")))
        << mensagens.at(0).toStdString();

    // Both dead: the ticket waits in the spool, and the operator is told.
    EscrevePerifericos(
        QStringLiteral("[impressora %1]\nreserva = %2\n").arg(principal.Endereco(), ImpressoraLoopback().Endereco()));
    mensagens.clear();
    ImprimeCancelamento(dados, LePerifericos());
    ASSERT_EQ(mensagens.size(), 1);
    EXPECT_TRUE(mensagens.at(0).contains(QStringLiteral("guardado"))) << mensagens.at(0).toStdString();
    const QDir spool(PastaPendentes());
    EXPECT_EQ(spool.entryList(QDir::Files).size(), 1);
    EXPECT_EQ(ReenviaPendentes(LePerifericos()), 1);
    EXPECT_EQ(spool.entryList(QDir::Files).size(), 1);

    // As if a till had ended while sending it: it must still go.
    const QString nome = spool.entryList(QDir::Files).value(0);
    ASSERT_TRUE(QFile::rename(spool.filePath(nome), spool.filePath(nome + QStringLiteral(".2147483646"))));
    principal.Escuta();
    EXPECT_EQ(ReenviaPendentes(LePerifericos()), 0);
    const QByteArray recebido = principal.Recebe();
    EXPECT_TRUE(Texto(recebido, "IBM860").contains(QStringLiteral("3 x FEIJOADA")));
    EXPECT_TRUE(recebido.endsWith(B({0x1D, 'V', 66, 3})));
    EXPECT_TRUE(spool.entryList(QDir::Files).isEmpty());
}

TEST_F(Impressao, LinhaSemEnderecoEAvisada)
{
    ImprimeCancelamento(Dados({{QStringLiteral("PUDIM"), 1, QStringLiteral("S"), QString()}}), LePerifericos());
    ASSERT_EQ(mensagens.size(), 1);
    EXPECT_TRUE(mensagens.at(0).contains(QStringLiteral("PUDIM")));
}

} // namespace
