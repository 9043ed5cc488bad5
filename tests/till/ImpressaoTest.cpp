// Kitchen and bar tickets: exact ESC/POS bytes, tickets as a loopback printer
// receives them, a dead printer's ticket going to the backup or the spool while
// the call returns at once, and the waiting tickets as the operator sees them.
#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <arpa/inet.h>
#include <functional>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "DataPacket.h"
#include "EnvioImpressora.h"
#include "EscPos.h"
#include "ImpressaoCancelamento.h"
#include "JanelaPedidos.h"
#include "NotaCancelamento.h"
#include "PastaCaixa.h"
#include "SaidasTillSupport.h"
#include "Wdc00002.h"

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

// A printer that is a folder keeps every ticket, none over another, and a
// listing by name gives them in the order they were sent, as the spool's does.
TEST(ImpressoraPasta, UmArquivoPorTiqueteNaOrdemDoEnvio)
{
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    const QDateTime antes = QDateTime::currentDateTime().addMSecs(-1);
    for (int i = 1; i <= 12; ++i) {
        QString erro;
        ASSERT_TRUE(EnviaParaImpressora(pasta.path(), QByteArray::number(i), 1000, erro)) << erro.toStdString();
    }
    const QStringList nomes = QDir(pasta.path()).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(nomes.size(), 12);
    for (int i = 0; i < nomes.size(); ++i) {
        QFile f(QDir(pasta.path()).filePath(nomes[i]));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), QByteArray::number(i + 1)) << nomes[i].toStdString();
        ASSERT_TRUE(nomes[i].startsWith(QLatin1String("tiquete-")) && nomes[i].endsWith(QLatin1String(".prn")));
        const QDateTime hora = HoraArquivoTiquete(nomes[i].mid(8));
        EXPECT_TRUE(hora >= antes && hora <= QDateTime::currentDateTime()) << nomes[i].toStdString();
    }
    EXPECT_FALSE(HoraArquivoTiquete(QStringLiteral("tiquete-1.prn")).isValid());
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
    namespace Nota = Wdc00002::NotaCancelamento;
    QVariantList nota(Nota::Tamanho);
    nota[Nota::Falso] = false;
    nota[Nota::ModeloImpressora] = QStringLiteral("1");
    nota[Nota::ComandaMostrada] = QStringLiteral("1010");
    nota[Nota::Mesa] = QStringLiteral("10");
    nota[Nota::Garcom] = QStringLiteral("João");
    nota[Nota::GrupoMotivo] = QStringLiteral("2");
    nota[Nota::Motivo] = QStringLiteral(" Produto lançado errado");
    nota[Nota::Vazio7] = QString();
    nota[Nota::Pacote] = ToVariant(p);
    nota[Nota::Titulo] = QStringLiteral(" Cancelamento de Pedido");
    nota[Nota::RotCupom] = QStringLiteral("Cupom :");
    nota[Nota::RotMotivo] = QStringLiteral("Motivo :");
    nota[Nota::RotGarcom] = QStringLiteral("Garcom :");
    nota[Nota::RotPedido] = QStringLiteral("Pedido :");
    nota[Nota::RotMesa] = QStringLiteral("Mesa   :");
    nota[Nota::Vazio15] = QString();
    nota[Nota::NrComanda] = QStringLiteral("1010");
    nota[Nota::DsComanda] = QStringLiteral("RES_10");
    return nota;
}

QString Texto(const QByteArray& bytes, const char* pagina)
{
    return QStringDecoder(pagina).decode(bytes);
}

using Impressao = SaidasTillTest;

// Until the sender has been through the spool, its news then shown.
void Drena()
{
    ASSERT_TRUE(TRemetenteTiquetes::Instancia().Aguarda(30000));
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

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
    Drena();
    ASSERT_EQ(mensagens.size(), 1);
    EXPECT_TRUE(mensagens.at(0).contains(principal.Endereco()) && mensagens.at(0).contains(QStringLiteral("reserva")))
        << mensagens.at(0).toStdString();

    // Both dead: the ticket waits in the spool, and the operator is told.
    EscrevePerifericos(
        QStringLiteral("[impressora %1]\nreserva = %2\n").arg(principal.Endereco(), ImpressoraLoopback().Endereco()));
    mensagens.clear();
    ImprimeCancelamento(dados, LePerifericos());
    Drena();
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

// A printer whose listener never takes the connection (its queue is full):
// connecting to it waits until the time-out.
class ImpressoraSurda {
public:
    ImpressoraSurda()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int sim = 1;
        ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &sim, sizeof sim);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t tam = sizeof a;
        if (::bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0
            && ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&a), &tam) == 0 && ::listen(m_fd, 0) == 0)
            m_porta = ntohs(a.sin_port);
        for (int i = 0; i < 3; ++i) {
            const int c = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            ::connect(c, reinterpret_cast<sockaddr*>(&a), sizeof a);
            m_fila << c;
        }
    }
    ~ImpressoraSurda()
    {
        for (int c : m_fila)
            ::close(c);
        ::close(m_fd);
    }
    quint16 Porta() const { return m_porta; }
    QString Endereco() const { return QStringLiteral("127.0.0.1:%1").arg(m_porta); }

private:
    int m_fd = -1;
    quint16 m_porta = 0;
    QList<int> m_fila;
};

// A printer that never takes the connection, or a closed port: the call only
// spools, the operator hears of it once, and once a live printer takes the
// port the tickets arrive in the order they were written, each only once.
TEST_F(Impressao, ImpressoraSurdaOuDesligadaNaoPrendeOCaixa)
{
    for (const bool surda : {true, false}) {
        SCOPED_TRACE(surda ? "fila cheia" : "porta fechada");
        mensagens.clear();
        auto ouvinteSurdo = surda ? std::make_unique<ImpressoraSurda>() : nullptr;
        auto fechada = surda ? nullptr : std::make_unique<ImpressoraLoopback>();
        const quint16 porta = surda ? ouvinteSurdo->Porta() : fechada->Porta();
        ASSERT_NE(porta, 0);
        const QString endereco = QStringLiteral("127.0.0.1:%1").arg(porta);
        EscrevePerifericos(QStringLiteral("[geral]\nespera = 1500\n[impressora %1]\nnome = Cozinha\n").arg(endereco));

        ImprimeCancelamento(Dados({{QStringLiteral("FEIJOADA"), 2, QStringLiteral("S"), endereco}}), LePerifericos());
        ImprimeCancelamento(Dados({{QStringLiteral("PUDIM"), 1, QStringLiteral("S"), endereco}}), LePerifericos());
        // Both calls came back with their tickets kept, whatever the printer does.
        const QList<TTiquetePendente> guardados = ListaPendentes();
        ASSERT_EQ(guardados.size(), 2);
        EXPECT_EQ(guardados[0].Produtos, QStringList{QStringLiteral("2 x FEIJOADA")});
        EXPECT_EQ(guardados[1].Produtos, QStringList{QStringLiteral("1 x PUDIM")});
        EXPECT_EQ(guardados[0].Pedido, QStringLiteral("1010"));
        EXPECT_EQ(guardados[0].Mesa, QStringLiteral("10"));
        EXPECT_EQ(guardados[0].Endereco, endereco);

        Drena();
        EXPECT_EQ(ListaPendentes().size(), 2);
        ASSERT_EQ(mensagens.size(), 1);
        EXPECT_TRUE(mensagens[0].contains(QStringLiteral("impressora Cozinha"))
                    && mensagens[0].contains(QStringLiteral("tíquete"))
                    && mensagens[0].contains(QStringLiteral("guardado")))
            << mensagens[0].toStdString();
        // Tried again while it is still off: nothing new for the operator.
        TRemetenteTiquetes::Instancia().Acorda();
        Drena();
        EXPECT_EQ(mensagens.size(), 1);
        EXPECT_EQ(ListaPendentes().size(), 2);
        // One try per pass at a dead printer: its second ticket waits behind the first.
        const TResultadoEnvio passada = EnviaPendentes(LePerifericos());
        ASSERT_EQ(passada.Tentativas.size(), 2);
        EXPECT_EQ(passada.Enviados, 0);
        EXPECT_EQ(passada.Restantes, 2);
        EXPECT_TRUE(passada.Tentativas[1].Erro.contains(QStringLiteral("anterior")))
            << passada.Tentativas[1].Erro.toStdString();

        ouvinteSurdo.reset();
        fechada.reset();
        ImpressoraLoopback viva(porta);
        viva.Escuta();
        TRemetenteTiquetes::Instancia().Acorda();
        EXPECT_TRUE(Texto(viva.Recebe(), "IBM860").contains(QStringLiteral("2 x FEIJOADA")));
        EXPECT_TRUE(Texto(viva.Recebe(), "IBM860").contains(QStringLiteral("1 x PUDIM")));
        Drena();
        EXPECT_TRUE(ListaPendentes().isEmpty());
        TRemetenteTiquetes::Instancia().Acorda();
        Drena();
        EXPECT_TRUE(viva.Recebe(200).isEmpty()) << "um tíquete enviado duas vezes";
    }
}

TEST_F(Impressao, LinhaSemEnderecoEAvisada)
{
    ImprimeCancelamento(Dados({{QStringLiteral("PUDIM"), 1, QStringLiteral("S"), QString()}}), LePerifericos());
    ASSERT_EQ(mensagens.size(), 1);
    EXPECT_TRUE(mensagens.at(0).contains(QStringLiteral("PUDIM")));
}

TEST_F(Impressao, JanelaDoCaixaContaEReenviaOsPendentesForaDaTela)
{
    ImpressoraLoopback cozinha; // off until it listens
    ImprimeCancelamento(Dados({{QStringLiteral("FEIJOADA"), 3, QStringLiteral("S"), cozinha.Endereco()}}),
                        LePerifericos());
    const QList<TTiquetePendente> pendentes = ListaPendentes();
    ASSERT_EQ(pendentes.size(), 1);
    EXPECT_EQ(pendentes.first().Endereco, cozinha.Endereco());
    EXPECT_TRUE(pendentes.first().Guardado.isValid());
    Drena();

    // The window counts the spool as it opens; the sender retries on its timer.
    TJanelaPedidos janela(pasta.path());
    QSignalSpy contou(&janela, &TJanelaPedidos::PendentesAtualizados);
    EXPECT_TRUE(janela.TimerPendentes()->isActive());
    EXPECT_LE(janela.TimerPendentes()->interval(), 30000);
    EXPECT_EQ(janela.Pendentes(), 1);
    auto* botao = janela.findChild<QAbstractButton*>(QStringLiteral("sbtPendentes"));
    ASSERT_TRUE(botao);
    EXPECT_EQ(botao->text(), QStringLiteral("Tíquetes pendentes: 1"));
    Drena();

    cozinha.Escuta();
    janela.ReenviaPendentes(); // what the timer calls
    Drena();
    EXPECT_FALSE(contou.isEmpty());
    EXPECT_EQ(janela.Pendentes(), 0);
    EXPECT_EQ(botao->text(), QStringLiteral("Tíquetes pendentes: 0"));
    EXPECT_TRUE(ListaPendentes().isEmpty());
    EXPECT_TRUE(Texto(cozinha.Recebe(), "IBM860").contains(QStringLiteral("3 x FEIJOADA")));
}

// The waiting tickets as the operator sees them: what each one withdraws and
// for which printer by its name; "Tentar agora" says what it did.
TEST_F(Impressao, JanelaDePendentesDizOQueCadaTiqueteEEOQueATentativaFez)
{
    ImpressoraLoopback cozinha, bar; // both off
    EscrevePerifericos(QStringLiteral("[impressora %1]\nnome = Cozinha\n[impressora %2]\nnome = Bar\n")
                           .arg(cozinha.Endereco(), bar.Endereco()));
    ImprimeCancelamento(Dados({{QStringLiteral("FEIJOADA"), 2, QStringLiteral("S"), cozinha.Endereco()},
                               {QStringLiteral("CAIPIRINHA"), 1, QStringLiteral("S"), bar.Endereco()}}),
                        LePerifericos());
    Drena();
    // One message for the pass, naming both printers.
    ASSERT_EQ(mensagens.size(), 1);
    EXPECT_TRUE(mensagens[0].contains(QStringLiteral("impressora Cozinha"))
                && mensagens[0].contains(QStringLiteral("impressora Bar")))
        << mensagens[0].toStdString();

    TJanelaPedidos janela(pasta.path());
    janela.resize(1280, 800);
    janela.show();
    Drena();
    cozinha.Escuta();

    AoAbrir<QDialog> ao([](QDialog& d) {
        auto* tabela = d.findChild<QTableWidget*>(QStringLiteral("tblPendentes"));
        auto* reenviar = d.findChild<QAbstractButton*>(QStringLiteral("sbtReenviar"));
        auto* resultado = d.findChild<QLabel*>(QStringLiteral("lblResultado"));
        ASSERT_TRUE(tabela && reenviar && resultado);
        const auto linha = [tabela](int r) {
            QStringList celulas;
            for (int c = 0; c < tabela->columnCount(); ++c)
                celulas << (tabela->item(r, c) ? tabela->item(r, c)->text() : QString());
            return celulas;
        };
        ASSERT_EQ(tabela->rowCount(), 2);
        EXPECT_EQ(linha(0).mid(1, 4), QStringList({"1010", "10", "2 x FEIJOADA", "Cozinha"}));
        EXPECT_EQ(linha(1).mid(1, 4), QStringList({"1010", "10", "1 x CAIPIRINHA", "Bar"}));
        EXPECT_TRUE(linha(1).value(5).contains(QStringLiteral("recusou a conexão"))) << linha(1).value(5).toStdString();
        EXPECT_GE(tabela->rowHeight(0), 56) << "linhas do tamanho de um dedo";

        reenviar->click();
        EXPECT_TRUE(QTest::qWaitFor([reenviar] { return reenviar->isEnabled(); }, 30000));
        EXPECT_TRUE(resultado->text().contains(QStringLiteral("Cozinha: enviado (pedido 1010)")))
            << resultado->text().toStdString();
        EXPECT_TRUE(resultado->text().contains(QStringLiteral("Bar: aguardando (pedido 1010) - recusou a conexão")))
            << resultado->text().toStdString();
        ASSERT_EQ(tabela->rowCount(), 1);
        EXPECT_EQ(linha(0).value(4), QStringLiteral("Bar"));
        d.reject();
    });
    janela.findChild<QAbstractButton*>(QStringLiteral("sbtPendentes"))->click();
    EXPECT_TRUE(ao.Abriu());
    EXPECT_TRUE(Texto(cozinha.Recebe(), "IBM860").contains(QStringLiteral("2 x FEIJOADA")));
    EXPECT_EQ(janela.Pendentes(), 1);
}

// The ticket's last line is the time on the till's clock.
TEST(ImpressaoEscPos, HoraDoTiqueteDoRelogioDoCaixa)
{
    const RelogioParado relogio(QDateTime(QDate(2026, 12, 8), QTime(19, 30, 59)));
    const QVariantList dados = Dados(
        {{QStringLiteral("FEIJOADA COMPLETA"), 1, QStringLiteral("S"), QStringLiteral("127.0.0.1:9100")}});
    QStringList semEndereco;
    const QList<TTiqueteCancelamento> tiquetes = SeparaTiquetes(dados, semEndereco);
    ASSERT_EQ(tiquetes.size(), 1);
    const QString texto = TEscPos::TextoImpresso(CompoeTiquete(dados, tiquetes.first(), QStringLiteral("IBM860")));
    EXPECT_TRUE(texto.endsWith(QStringLiteral("\n08/12/2026 19:30\n--------------------------------\n")))
        << texto.toStdString();
}

} // namespace
