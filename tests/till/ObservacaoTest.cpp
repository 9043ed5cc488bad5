// The reason dialog on a known database, once per engine: the product's
// reasons, else the store's; the group and text written back; giving up.
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>

#include "ArquivosDemo.h"
#include "BlendedBitBtn.h"
#include "DadosComandaTest.h"
#include "HostServices.h"
#include "Mensagem.h"
#include "ObservacaoDialog.h"
#include "SaidasTillSupport.h"
#include "ServicosOperador.h"
#include "Wdc00002.h"

namespace {

class Motivos : public DadosComandaTest {
protected:
    void SetUp() override
    {
        DadosComandaTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(pasta.isValid());
        SetHostFolderOverride(pasta.path());
        SetMensagemHandler([this](const MensagemArgs& a) {
            mensagens << a.Texto;
            return true;
        });
        GravaArquivoTerminal(pasta.filePath(kArquivoParametros), ParametrosDemo()); // branch 0001, store 01
        data.Loja("10");
        data.GrupoOcor("10");
    }
    void TearDown() override
    {
        SetMensagemHandler({});
        SetHostFolderOverride(QString());
        DadosComandaTest::TearDown();
    }

    struct Resposta {
        QStringList lista; // what the dialog offered
        QVariant grupo;
        QString texto;
    };
    // Calls the service for the product; the dialog picks the row (-1: gives up).
    Resposta Pergunta(const QString& produto, int escolha)
    {
        Resposta r;
        AoAbrir<TObservacaoDialog> ao([&](TObservacaoDialog& d) {
            for (int i = 0; i < d.lstMotivos->count(); ++i)
                r.lista << d.lstMotivos->item(i)->text();
            if (escolha < 0) {
                d.close();
                return;
            }
            d.sbtOk->click();
            EXPECT_TRUE(d.isVisible()) << "no reason chosen yet";
            d.lstMotivos->setCurrentRow(escolha);
            d.sbtOk->click();
        });
        QVariantList resultado(Wdc00002::ResultadoObservacao::Tamanho);
        Chama(produto, resultado, r.texto);
        r.grupo = resultado.value(Wdc00002::ResultadoObservacao::Grupo);
        EXPECT_EQ(resultado.size(), 10);
        return r;
    }
    static void Chama(const QString& produto, QVariantList& resultado, QString& texto)
    {
        ObservacaoTill({QStringLiteral("S"), QStringLiteral("CP"), produto, QStringLiteral("Produto"), QString()},
                       resultado, texto);
    }

    QTemporaryDir pasta;
    QStringList mensagens;
};

TEST_P(Motivos, MotivosDoProdutoSenaoOsDaLojaEDesistir)
{
    data.Ocorrencia("10", "03", "Cliente desistiu");
    data.Ocorrencia("10", "01", "Demora");
    data.Ocorrencia("10", "02", "Produto errado");
    data.ProdOcorre("P1", "10", "02");
    data.ProdOcorre("P9", "10", "03");
    data.ProdOcorre("P9", "10", "01");

    const Resposta doProduto = Pergunta(QStringLiteral("P1"), 0);
    EXPECT_EQ(doProduto.lista, QStringList{QStringLiteral("Produto errado")});
    EXPECT_EQ(doProduto.grupo, QVariant(QStringLiteral("10")));
    EXPECT_EQ(doProduto.texto, QStringLiteral("Produto errado"));

    const Resposta daLoja = Pergunta(QStringLiteral("P5"), 2);
    EXPECT_EQ(daLoja.lista,
              QStringList(
                  {QStringLiteral("Demora"), QStringLiteral("Produto errado"), QStringLiteral("Cliente desistiu")}));
    EXPECT_EQ(daLoja.texto, QStringLiteral("Cliente desistiu"));
    EXPECT_EQ(daLoja.grupo, QVariant(QStringLiteral("10")));

    const Resposta desistiu = Pergunta(QStringLiteral("P1"), -1);
    EXPECT_TRUE(desistiu.texto.isEmpty());
    EXPECT_FALSE(desistiu.grupo.isValid());
    EXPECT_TRUE(mensagens.isEmpty());
}

TEST_P(Motivos, SemMotivosNoBancoUsaOArquivoOuDizQueFaltam)
{
    QVariantList resultado(Wdc00002::ResultadoObservacao::Tamanho);
    QString texto;
    Chama(QStringLiteral("P1"), resultado, texto);
    EXPECT_EQ(texto, QStringLiteral("erro"));
    ASSERT_EQ(mensagens.size(), 1);
    EXPECT_TRUE(mensagens.first().startsWith(
        QStringLiteral("Nenhum motivo de cancelamento cadastrado no banco para a filial 0001, loja 01.")))
        << mensagens.first().toStdString();

    QFile arquivo(pasta.filePath(QStringLiteral("MotivosCancelamento.txt")));
    ASSERT_TRUE(arquivo.open(QIODevice::WriteOnly));
    arquivo.write("7|Engano do garçom\nsem barra\n8|\n");
    arquivo.close();
    AoAbrir<TObservacaoDialog> ao([](TObservacaoDialog& d) {
        EXPECT_EQ(d.lstMotivos->count(), 1);
        EXPECT_TRUE(d.lblAviso->text().contains(QStringLiteral("Nenhum motivo cadastrado no banco")));
        d.lstMotivos->setCurrentRow(0);
        d.sbtOk->click();
    });
    Chama(QStringLiteral("P1"), resultado, texto);
    EXPECT_EQ(texto, QStringLiteral("Engano do garçom"));
    EXPECT_EQ(resultado.value(0), QVariant(QStringLiteral("7")));
}

TEST_P(Motivos, BancoInalcancavelDizPorqueEDesiste)
{
    qputenv("KVP_DATABASE", pasta.filePath(QStringLiteral("nao-existe.db")).toUtf8());
    QVariantList resultado(Wdc00002::ResultadoObservacao::Tamanho);
    QString texto;
    Chama(QStringLiteral("P1"), resultado, texto);
    qputenv("KVP_DATABASE", databaseUrl().toUtf8());
    EXPECT_EQ(texto, QStringLiteral("erro"));
    ASSERT_EQ(mensagens.size(), 1);
    EXPECT_TRUE(mensagens.first().startsWith(QStringLiteral("Não foi possível ler os motivos de cancelamento: ")))
        << mensagens.first().toStdString();
    EXPECT_FALSE(QFile::exists(pasta.filePath(QStringLiteral("nao-existe.db")))) << "nothing created";
}

KVP_INSTANTIATE_ENGINES(Motivos);

} // namespace
