// One whole session at the till, headless: the order list, a tab chosen, the
// real package loaded and its window opened, an item marked and cancelled in
// part through the till's own dialogs (supervisor PIN, reason, keypad), the
// kitchen ticket arriving at a printer on loopback, the list read again.
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QStringDecoder>
#include <QTableView>
#include <QTest>

#include "ArquivosDemo.h"
#include "BlendedBitBtn.h"
#include "DadosComanda.h"
#include "DbFixture.h"
#include "JanelaCenario.h"
#include "JanelaPedidos.h"
#include "LocaleTerminal.h"
#include "ObservacaoDialog.h"
#include "SaidasTillSupport.h"
#include "ServicosTill.h"
#include "TecladoNumericoDialog.h"
#include "VerificaAcessoDialog.h"
#include "Wdc00002.h"

namespace {

using namespace od;

class SessaoTill : public ComPastaTill<DbEngineTest> {
protected:
    void TearDown() override
    {
        Wdc00002::ResetAll();
        QLocale::setDefault(QLocale::system());
        ComPastaTill<DbEngineTest>::TearDown();
    }
};

QString Celula(const TModeloPedidos& modelo, const QString& comanda, int coluna)
{
    for (int r = 0; r < modelo.rowCount(); ++r)
        if (modelo.Pedido(r).NrComanda == comanda)
            return modelo.index(r, coluna).data().toString();
    return QStringLiteral("não listada");
}

// The operator at the till's dialogs, as each one comes up inside the
// package's window: the demo supervisor's code and PIN, the first reason
// offered, the quantity typed.
class Operador : public QObject {
public:
    explicit Operador(QString quantidade) : m_quantidade(std::move(quantidade))
    {
        connect(&m_timer, &QTimer::timeout, this, &Operador::Atende);
        m_timer.start(20);
    }
    QStringList Vistos;
    QString Motivo;

private:
    void Atende()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_ultimo)
            return;
        if (auto* acesso = qobject_cast<TVerificaAcessoDialog*>(modal)) {
            acesso->edtSupervisor->setText(QStringLiteral("0099"));
            acesso->edtPin->setText(QStringLiteral("1234"));
            Responde(acesso, acesso->sbtOk, QStringLiteral("acesso"));
        } else if (auto* motivo = qobject_cast<TObservacaoDialog*>(modal)) {
            motivo->lstMotivos->setCurrentRow(0);
            Motivo = motivo->lstMotivos->currentItem() ? motivo->lstMotivos->currentItem()->text() : QString();
            Responde(motivo, motivo->sbtOk, QStringLiteral("motivo"));
        } else if (auto* teclado = qobject_cast<TTecladoNumericoDialog*>(modal)) {
            teclado->SetValor(m_quantidade);
            Responde(teclado, teclado->sbtOk, QStringLiteral("teclado"));
        }
    }
    void Responde(QWidget* dialogo, TBlendedBitBtn* ok, const QString& nome)
    {
        m_ultimo = dialogo;
        Vistos << nome;
        ok->click();
    }

    QTimer m_timer;
    QPointer<QWidget> m_ultimo;
    QString m_quantidade;
};

TEST_P(SessaoTill, DaListaDoCaixaAoTiqueteDaCozinha)
{
    ImpressoraLoopback cozinha;
    cozinha.Escuta();
    DadosComanda d([this](const QString& sql, const QVariantList& b) { exec(sql, b); });
    d.Impressora("EPS", "1");
    d.Porta("PT01", cozinha.Endereco());
    d.ImprLoja("01", "PT01", "EPS");
    d.Produto({});
    d.ProdLoja({.NRSEQIMPRPROD = "01"});
    // The till pairs each product printer with a backup of its own printers.
    d.Caixa({.NRSEQIMPRLOJA1BK = "01"});
    d.VendaComComanda({}, {.DSCOMANDA = "RES_0010"});
    d.Item({.NRPRODCOMVEN = "000001", .QTPRODCOMVEN = 3.0});
    d.Item({.NRPRODCOMVEN = "000002"});
    // The product's reasons in the store's group.
    d.Loja("20");
    d.GrupoOcor("20");
    d.Ocorrencia("20", "02", "Produto lançado errado");
    d.ProdOcorre(kProduto, "20", "02");
    // The demo terminal: its parameters, operator and supervisor 0099 (PIN 1234).
    GravaArquivosDemo(pasta.path(), true);

    // As the till starts: its locale, then its services, dialogs included.
    AplicaLocaleTerminal();
    InstalaServicosTill();
    Operador operador(QStringLiteral("2"));

    TJanelaPedidos janela(qEnvironmentVariable("KVP_BIN_DIR", QCoreApplication::applicationDirPath()));
    janela.show();
    const TModeloPedidos& modelo = janela.Modelo();
    ASSERT_EQ(Celula(modelo, kComanda, TModeloPedidos::ColItens), "2");
    EXPECT_EQ(Celula(modelo, kComanda, TModeloPedidos::ColTotal), "40,00");

    // What the operator does in the package's window, played once it is up.
    TAcaoCenario marca{.Tipo = TAcaoCenario::TTipo::Marcar,
                       .Lugar = "actions[0]",
                       .Comanda = kComanda,
                       .Item = "000001"};
    TAcaoCenario cancela{.Tipo = TAcaoCenario::TTipo::Botao, .Lugar = "actions[1]", .Nome = "sbtCancelar"};
    TJanelaCenario pacote(QStringLiteral("sessão"), {marca, cancela});

    int linha = -1;
    for (int r = 0; r < modelo.rowCount(); ++r)
        if (modelo.Pedido(r).NrComanda == kComanda)
            linha = r;
    QTableView* lista = janela.Lista();
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {},
                      lista->visualRect(modelo.index(linha, TModeloPedidos::ColDescricao)).center());
    auto* botao = janela.findChild<QPushButton*>(QStringLiteral("sbtCancelarProdutos"));
    ASSERT_TRUE(botao && botao->isEnabled());
    QTest::mouseClick(botao, Qt::LeftButton);

    ASSERT_TRUE(pacote.Mostrada()) << mensagens.join('\n').toStdString();
    EXPECT_TRUE(pacote.Erro().isEmpty()) << pacote.Erro().toStdString();
    // The demo operator holds no access code of its own: the supervisor authorises.
    EXPECT_EQ(operador.Vistos, QStringList({"acesso", "motivo", "teclado"}));
    EXPECT_EQ(operador.Motivo, QStringLiteral("Produto lançado errado"));

    // The production ticket among what the kitchen printer received.
    QString tiquete;
    for (int conexao = 0; conexao < 3 && !tiquete.contains(QLatin1String("x Fil")); ++conexao) {
        const QByteArray bytes = cozinha.Recebe();
        if (bytes.isEmpty())
            break;
        tiquete = QStringDecoder("IBM860").decode(bytes);
    }
    EXPECT_TRUE(tiquete.contains(QStringLiteral("2 x Filé à parmegiana\n")))
        << tiquete.toStdString() << mensagens.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(tiquete.contains(QStringLiteral("Produto lançado errado"))) << tiquete.toStdString();

    EXPECT_EQ(scalar("SELECT SUM(QTPRODCOMVEN) FROM ITCOMANDAVEN WHERE IDSTPRCOMVEN = '6'").toDouble(), 2.0);
    // Who authorised it, as the supervisor's dialog gave it back.
    EXPECT_EQ(scalar("SELECT MAX(CDSUPERVISOR) FROM ITCOMANDAVEN WHERE IDSTPRCOMVEN = '6'").toString(), "0099");
    // Read again after the call: one of the three left, and the other item.
    EXPECT_EQ(Celula(modelo, kComanda, TModeloPedidos::ColItens), "2");
    EXPECT_EQ(Celula(modelo, kComanda, TModeloPedidos::ColTotal), "20,00");
    // The till's sender delivered every ticket; its news reach the window's count.
    ASSERT_TRUE(TRemetenteTiquetes::Instancia().Aguarda(30000));
    QCoreApplication::processEvents();
    EXPECT_EQ(janela.Pendentes(), 0);
}

KVP_INSTANTIATE_ENGINES(SessaoTill);

} // namespace
