// The item grid as the operator sees it, rendered offscreen and checked by
// pixel: icons, cancelled rows in red, the selected cell, the titles.
#include <QHeaderView>
#include <QPainter>
#include <QTest>

#include "DBGrid.h"
#include "EstiloJanela.h"
#include "ListaItensTestSupport.h"
#include "Pixels.h"

namespace {

using Pixel = std::function<bool(const QColor&)>;

class ItemPaintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Marked; cancelled (and marked: gray whatever the mark); unmarked and current.
        FrmCancelaProdListProbe::Carrega(
            f,
            PacoteItens({{"000001", "", "0000000100", "1", "C"}, {"000002", "", "0000000100", "6", "C"}, {"000003"}}));
        f.FiltroProdCanc(false);
        f.show();
        f.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
        f.dbgProduto->setFocus();
        f.dbgProduto->setCurrentIndex(f.dbgProduto->model()->index(2, Coluna("NMPRODUTO")));
        ASSERT_TRUE(f.dbgProduto->hasFocus());
        imagem = Grade();
        if (qEnvironmentVariableIsSet("KVP_GRID_PNG"))
            f.grab().save(qEnvironmentVariable("KVP_GRID_PNG"));
    }

    QImage Grade() const { return f.dbgProduto->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    int Coluna(const char* campo) const { return f.dbgProduto->FieldColumn(QLatin1String(campo)); }
    QImage Celula(int linha, const char* campo, const QImage& de = {}) const
    {
        const QRect r = f.dbgProduto->visualRect(f.dbgProduto->model()->index(linha, Coluna(campo)));
        return (de.isNull() ? imagem : de).copy(r);
    }

    // A check cell as it must look: white, the icon 4 pixels in and as tall
    // as the cell, olive left out.
    static QImage Icone(const QPixmap& icone, const QSize& tamanho)
    {
        QImage esperado(tamanho, QImage::Format_RGB32);
        esperado.fill(Qt::white);
        QPixmap pm = icone;
        pm.setMask(icone.createMaskFromColor(QColor(128, 128, 0), Qt::MaskInColor));
        QPainter(&esperado).drawPixmap(QRect(4, 0, pm.width(), tamanho.height()), pm);
        return esperado;
    }

    static int Diferentes(const QImage& a, const QImage& b)
    {
        int n = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
                n += qAbs(p.red() - q.red()) + qAbs(p.green() - q.green()) + qAbs(p.blue() - q.blue()) > 24;
            }
        return n;
    }

    TfrmCancelaProd f;
    QImage imagem;
};

TEST_F(ItemPaintTest, CheckColumnShowsEachRowsIcon)
{
    const QSize tamanho = Celula(0, "IDCHECK").size();
    const QImage check = Icone(f.imgCheck, tamanho), gray = Icone(f.imgGray, tamanho),
                 uncheck = Icone(f.imgUncheck, tamanho);
    ASSERT_GT(Diferentes(check, gray), 10); // the pictures can be told apart
    ASSERT_GT(Diferentes(check, uncheck), 10);
    EXPECT_LE(Diferentes(Celula(0, "IDCHECK"), check), 2);
    EXPECT_LE(Diferentes(Celula(1, "IDCHECK"), gray), 2);
    EXPECT_LE(Diferentes(Celula(2, "IDCHECK"), uncheck), 2);
}

TEST_F(ItemPaintTest, CancelledRowsAreWrittenInRedOthersInBlack)
{
    const Pixel vermelho = [](QColor c) { return c.red() > 200 && c.green() < 110 && c.blue() < 110; };
    const Pixel escuro = [](QColor c) { return c.lightness() < 60; };
    for (const char* campo : {"NMPRODUTO", "DTHRINCOMVEN", "QTPRODCOMVEN", "CDVENDEDOR"}) {
        EXPECT_GT(ContaPixels(Celula(1, campo), vermelho), 3) << campo;
        EXPECT_EQ(ContaPixels(Celula(1, campo), escuro), 0) << campo;
        EXPECT_GT(ContaPixels(Celula(0, campo), escuro), 3) << campo;
        EXPECT_EQ(ContaPixels(Celula(0, campo), vermelho), 0) << campo;
    }
    EXPECT_GT(ContaPixels(Celula(1, "NMPRODUTO"), [](QColor c) { return c == QColor(255, 0, 0); }), 5);
}

TEST_F(ItemPaintTest, OnlyTheSelectedCellIsHighlightedAndOnlyWhileTheGridHasTheFocus)
{
    const QColor destaque = f.dbgProduto->palette().color(QPalette::Active, QPalette::Highlight);
    const Pixel eDestaque = [&](QColor c) { return c == destaque; };
    const QImage selecionada = Celula(2, "NMPRODUTO");
    EXPECT_EQ(selecionada.pixelColor(selecionada.width() - 6, selecionada.height() / 2), destaque);
    EXPECT_GT(ContaPixels(selecionada, [](QColor c) { return c == QColor(Qt::white); }), 10); // the text
    EXPECT_EQ(ContaPixels(selecionada, [](QColor c) { return c.lightness() < 40; }), 0);
    for (const char* campo : {"IDCHECK", "NRSEQPRODCOM", "CDVENDEDOR"})
        EXPECT_EQ(ContaPixels(Celula(2, campo), eDestaque), 0) << campo;

    f.sbtSair->setFocus();
    EXPECT_EQ(ContaPixels(Celula(2, "NMPRODUTO", Grade()), eDestaque), 0);
}

TEST_F(ItemPaintTest, ColumnsTitlesAndTheCheckMarkTitle)
{
    QHeaderView* titulos = f.dbgProduto->horizontalHeader();
    QStringList campos;
    QList<int> larguras;
    for (int visual = 0; visual < titulos->count(); ++visual) {
        const int logica = titulos->logicalIndex(visual);
        if (!titulos->isSectionHidden(logica)) {
            campos << f.dbgProduto->ColumnAt(logica)->FieldName;
            larguras << titulos->sectionSize(logica);
        }
    }
    EXPECT_EQ(campos,
              QStringList({"IDCHECK", "NMPRODUTO", "DTHRINCOMVEN", "NRSEQPRODCOM", "CDVENDEDOR", "QTPRODCOMVEN",
                           "NRLUGARMESA"}));
    EXPECT_EQ(larguras.mid(0, 4), QList<int>({20, 266, 144, 42}));
    EXPECT_EQ(larguras.value(5), 53);

    const QImage cabecalho = titulos->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage marca = cabecalho.copy(titulos->sectionViewportPosition(Coluna("IDCHECK")) + 1, 1,
                                        titulos->sectionSize(Coluna("IDCHECK")) - 3, titulos->height() - 3);
    EXPECT_GT(ContaPixels(marca, [](QColor c) { return c == kCorMoldura; }), marca.width() * marca.height() / 2);
    EXPECT_GT(ContaPixels(marca, [](QColor c) { return c.lightness() > 230; }), 8);
}

} // namespace
