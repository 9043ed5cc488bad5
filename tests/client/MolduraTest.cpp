// The cancellation window's frame, rendered offscreen, and its own events:
// keys seen by the form first, Esc, the wiring of the buttons. The window is
// built directly, without start-up or a database.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "BlendedBitBtn.h"
#include "Cli_kvp00917.h"
#include "DBGrid.h"
#include "EstiloJanela.h"
#include "FakeHost.h"
#include "FrmCancelaProd.h"
#include "Pixels.h"

namespace {

bool Perto(const QColor& a, const QColor& b, int tolerance = 16)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
        && qAbs(a.blue() - b.blue()) <= tolerance;
}

::testing::AssertionResult CorEm(const QImage& image, int x, int y, const QColor& expected, int tolerance = 16)
{
    const QColor c = image.pixelColor(x, y);
    if (Perto(c, expected, tolerance))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << "," << y << ") is " << c.name().toStdString()
                                         << ", expected " << expected.name().toStdString();
}

bool Escuro(const QColor& c)
{
    return c.red() < 90 && c.green() < 90 && c.blue() < 90;
}

bool Cinzento(const QColor& c)
{
    const int spread = qMax(qMax(c.red(), c.green()), c.blue()) - qMin(qMin(c.red(), c.green()), c.blue());
    return spread < 20 && c.red() > 60 && c.red() < 200;
}

// Item rows straight into the window's list (its record is built by the window).
void Itens(TClientDataSet& ds, const QList<QPair<QString, QString>>& itens)
{
    TDataPacket packet = ds.Data();
    packet.Rows.clear();
    for (const auto& [numero, status] : itens) {
        QVariantList row(packet.FieldDefs.size());
        row[packet.indexOf(QStringLiteral("NRPRODCOMVEN"))] = numero;
        row[packet.indexOf(QStringLiteral("NMPRODUTO"))] = QStringLiteral("Produto %1").arg(numero);
        row[packet.indexOf(QStringLiteral("IDSTPRCOMVEN"))] = status;
        row[packet.indexOf(QStringLiteral("IDCHECK"))] = QStringLiteral("U");
        row[packet.indexOf(QStringLiteral("QTPRODCOMVEN"))] = 1.0;
        packet.Rows << row;
    }
    ds.SetData(packet);
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake = std::make_unique<FakeHost>();
        form = std::make_unique<TfrmCancelaProd>();
    }
    void TearDown() override
    {
        form.reset();
        fake.reset();
        Cli_kvp00917::boIdCriado = false;
    }

    void Mostra()
    {
        form->show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(form->isActiveWindow());
    }

    std::unique_ptr<FakeHost> fake;
    std::unique_ptr<TfrmCancelaProd> form;
};

TEST_F(FrameTest, RendersFrameHeaderButtonsAndGridInTheirPlaces)
{
    const QImage image = form->grab().toImage();
    if (qEnvironmentVariableIsSet("KVP_FRAME_PNG"))
        image.save(qEnvironmentVariable("KVP_FRAME_PNG"));
    ASSERT_EQ(image.size(), QSize(785, 347));

    // The 2-pixel coloured frame all round, white inside it.
    for (const QPoint& p : {QPoint(0, 0), QPoint(1, 1), QPoint(392, 0), QPoint(392, 346), QPoint(0, 170),
                            QPoint(784, 170), QPoint(783, 345), QPoint(784, 346)})
        EXPECT_TRUE(CorEm(image, p.x(), p.y(), kCorMoldura, 4));
    for (const QPoint& p : {QPoint(2, 2), QPoint(4, 340), QPoint(700, 40), QPoint(655, 330), QPoint(782, 344)})
        EXPECT_TRUE(CorEm(image, p.x(), p.y(), Qt::white, 4));

    // The header's text is dark and starts at the left; the footer's is gray
    // and right-aligned.
    EXPECT_GT(ContaPixels(image, QRect(9, 8, 120, 21), Escuro), 40);
    EXPECT_EQ(ContaPixels(image, QRect(400, 8, 330, 21), Escuro), 0);
    EXPECT_GT(ContaPixels(image, QRect(700, 328, 74, 14), Cinzento), 15);
    EXPECT_EQ(ContaPixels(image, QRect(9, 328, 600, 14), Cinzento), 0);

    // Captioned buttons: gray faces; the cancel button starts disabled (light gray).
    EXPECT_TRUE(CorEm(image, 660, 70, QColor(128, 128, 128), 4));
    EXPECT_TRUE(CorEm(image, 660, 296, QColor(204, 204, 204), 4));
    // Their captions are white text on the face.
    EXPECT_GT(ContaPixels(image, QRect(660, 50, 80, 40), [](const QColor& c) { return Perto(c, Qt::white, 30); }), 30);

    // Round buttons: face inside the circle, the white form in the corners of their box.
    for (const QRect& b :
         {QRect(662, 100, 49, 46), QRect(725, 100, 49, 46), QRect(662, 222, 49, 46), QRect(725, 222, 49, 46)}) {
        EXPECT_TRUE(CorEm(image, b.center().x(), b.top() + 4, QColor(128, 128, 128), 8));
        EXPECT_TRUE(CorEm(image, b.left() + 1, b.top() + 1, Qt::white, 4));
        EXPECT_TRUE(CorEm(image, b.right() - 1, b.bottom() - 1, Qt::white, 4));
        // The arrow picture in the middle.
        EXPECT_GT(ContaPixels(image, b.adjusted(10, 10, -10, -10),
                              [](const QColor& c) { return Perto(c, Qt::white, 20); }),
                  40);
    }

    // The close button: the frame colour's X on a white face.
    EXPECT_GT(ContaPixels(image, QRect(745, 8, 27, 24), [](const QColor& c) { return Perto(c, kCorMoldura, 30); }), 20);

    // The grid's titles on the frame colour, starting at the panel's left.
    EXPECT_TRUE(CorEm(image, 10, 46, kCorMoldura, 12));
    EXPECT_TRUE(CorEm(image, 200, 46, kCorMoldura, 12));
    EXPECT_TRUE(CorEm(image, 9 + 300, 44 + 150, Qt::white, 4));
}

TEST_F(FrameTest, IsABorderlessFixedModalWindowCentredWithTheGridFocused)
{
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form->isModal());
    EXPECT_EQ(form->size(), QSize(785, 347));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Cancelamento de Produto"));
    EXPECT_EQ(form->lblCabec->text(), QStringLiteral("Cancela Produto"));
    EXPECT_EQ(form->lblCodTela->text(), QStringLiteral("F1 - Menu Fiscal - Kvp00917"));
    EXPECT_EQ(form->sbtProdCanc->text(), QStringLiteral("Exibir &Prod. Cancelados"));

    Mostra();
    const QRect screen = form->screen()->availableGeometry();
    EXPECT_LE(qAbs(form->frameGeometry().center().x() - screen.center().x()), 2);
    EXPECT_LE(qAbs(form->frameGeometry().center().y() - screen.center().y()), 2);
    EXPECT_TRUE(form->dbgProduto->hasFocus());
    // The touch buttons never take the focus away from the grid.
    QTest::mouseClick(form->sbtRolarBaixo, Qt::LeftButton, {}, form->sbtRolarBaixo->rect().center());
    EXPECT_TRUE(form->dbgProduto->hasFocus());
}

TEST_F(FrameTest, GridsScrollBarFallsOutsideTheVisiblePanel)
{
    QList<QPair<QString, QString>> muitos;
    for (int i = 1; i <= 40; ++i)
        muitos << qMakePair(QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')), QStringLiteral("1"));
    Itens(form->cdsProduto, muitos);
    Mostra();
    const QScrollBar* bar = form->dbgProduto->verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    const QPoint left = bar->mapTo(form->Panel1, QPoint(0, 0));
    EXPECT_GE(left.x(), form->Panel1->width());
    // Nor does a horizontal bar eat into the list: the columns fit the panel.
    EXPECT_FALSE(form->dbgProduto->horizontalScrollBar()->isVisible());
}

TEST_F(FrameTest, KeysGoToTheFormFirstAndTheRestReachTheGrid)
{
    Itens(form->cdsProduto,
          {{QStringLiteral("000001"), QStringLiteral("1")},
           {QStringLiteral("000002"), QStringLiteral("6")},
           {QStringLiteral("000003"), QStringLiteral("1")},
           {QStringLiteral("000004"), QStringLiteral("1")}});
    Mostra();
    form->cdsProduto.First();
    QTest::keyClick(form->dbgProduto, Qt::Key_Down);
    EXPECT_EQ(form->cdsProduto.RecNo(), 2);
    EXPECT_EQ(form->dbgProduto->currentIndex().row(), 1);

    // The show-cancelled button's Alt shortcut, twice: shown, then hidden again.
    QTest::keyClick(form->dbgProduto, Qt::Key_P, Qt::AltModifier);
    QTest::keyClick(form->dbgProduto, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(form->cdsProduto.RecordCount(), 3);

    // Esc belongs to the close button: nothing while it is disabled, not even
    // the dialog's own Esc.
    form->sbtSair->setEnabled(false);
    QTest::keyClick(form->dbgProduto, Qt::Key_Escape);
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());

    form->sbtSair->setEnabled(true);
    Cli_kvp00917::boIdCriado = true;
    QTest::keyClick(form->dbgProduto, Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(Cli_kvp00917::boIdCriado);
}

TEST_F(FrameTest, KeysSentToTheFormItselfAreHandledAfterKeysTheGridKept)
{
    Itens(form->cdsProduto,
          {{QStringLiteral("000001"), QStringLiteral("1")}, {QStringLiteral("000002"), QStringLiteral("1")}});
    Mostra();
    form->cdsProduto.First();
    // The grid uses these keys up; the form must not take a later key of its
    // own for one of them.
    QTest::keyClick(form->dbgProduto, Qt::Key_Down);
    QTest::keyClick(form->dbgProduto, Qt::Key_Up);
    ASSERT_EQ(form->cdsProduto.RecNo(), 1);

    Cli_kvp00917::boIdCriado = true;
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(Cli_kvp00917::boIdCriado);
}

TEST_F(FrameTest, NavigationButtonsMoveThroughTheList)
{
    Itens(form->cdsProduto,
          {{QStringLiteral("000001"), QStringLiteral("1")},
           {QStringLiteral("000002"), QStringLiteral("1")},
           {QStringLiteral("000003"), QStringLiteral("1")},
           {QStringLiteral("000004"), QStringLiteral("1")}});
    Mostra();
    const auto clica = [](TBlendedBitBtn* b) { QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center()); };

    clica(form->sbtUltimo);
    EXPECT_EQ(form->cdsProduto.RecNo(), 4);
    clica(form->sbtRolarCima);
    EXPECT_EQ(form->cdsProduto.RecNo(), 3);
    clica(form->BlendedBitBtn1);
    EXPECT_EQ(form->cdsProduto.RecNo(), 1);
    clica(form->sbtRolarBaixo);
    EXPECT_EQ(form->cdsProduto.RecNo(), 2);
    EXPECT_EQ(form->dbgProduto->currentIndex().row(), 1);
}

} // namespace
