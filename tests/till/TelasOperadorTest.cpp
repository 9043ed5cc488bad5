// The till's operator dialogs as a person at the till meets them, through
// their widgets: where a physical keyboard types after each key, that a
// warning never moves what is about to be tapped, and their frame.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "ArquivoAcesso.h"
#include "BlendedBitBtn.h"
#include "EstiloCasa.h"
#include "ObservacaoDialog.h"
#include "SaidasTillSupport.h"
#include "TecladoWidget.h"
#include "VerificaAcessoDialog.h"

namespace {

using TelasOperador = SaidasTillTest;

void Mostra(QWidget& w)
{
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

// A key of a physical keyboard: it goes wherever the focus is.
void Tecla(Qt::Key tecla)
{
    QWidget* foco = QApplication::focusWidget();
    ASSERT_NE(foco, nullptr);
    QTest::keyClick(foco, tecla);
}

QRect NoDialogo(const QWidget* w, const QWidget* dialogo)
{
    return QRect(w->mapTo(dialogo, QPoint(0, 0)), w->size());
}

TEST_F(TelasOperador, SupervisorFocoSegueAsTeclasEOAvisoNaoEmpurraOTeclado)
{
    TArquivoAcesso a = TArquivoAcesso::Le();
    a.DefinePin(QStringLiteral("0099"), QStringLiteral("2580"), QStringLiteral("31"), QString());
    TVerificaAcessoDialog d(31, QStringLiteral("0003"), a);
    Mostra(d);
    EXPECT_TRUE(d.edtSupervisor->hasFocus());

    Tecla(Qt::Key_0);
    Tecla(Qt::Key_0);
    QTest::mouseClick(d.teclado->sbtTecla[9], Qt::LeftButton);
    QTest::mouseClick(d.teclado->sbtTecla[9], Qt::LeftButton);
    EXPECT_EQ(d.edtSupervisor->text(), QStringLiteral("0099"));
    const QRect zero = NoDialogo(d.teclado->sbtTecla[0], &d);
    const QRect aviso = NoDialogo(d.lblAviso, &d);

    // OK without a PIN: the keys and the keyboard both go to the PIN, which stays hidden.
    QTest::mouseClick(d.sbtOk, Qt::LeftButton);
    EXPECT_EQ(d.lblAviso->text(), QStringLiteral("Informe o PIN do supervisor."));
    EXPECT_EQ(d.teclado->Alvo(), d.edtPin);
    EXPECT_TRUE(d.edtPin->hasFocus());
    Tecla(Qt::Key_5);
    EXPECT_EQ(d.edtSupervisor->text(), QStringLiteral("0099"));
    EXPECT_EQ(d.edtPin->text(), QStringLiteral("5"));
    EXPECT_TRUE(d.lblAviso->text().isEmpty()) << "the PIN was typed: the warning has said its piece";

    // A wrong PIN: the count on one line, in the place kept for it; the keys did not move.
    QTest::mouseClick(d.teclado->sbtTecla[5], Qt::LeftButton);
    QTest::mouseClick(d.teclado->sbtTecla[5], Qt::LeftButton);
    QTest::mouseClick(d.teclado->sbtTecla[5], Qt::LeftButton);
    QTest::mouseClick(d.sbtOk, Qt::LeftButton);
    ASSERT_EQ(d.Falhas(), 1);
    EXPECT_EQ(d.lblAviso->text(), QStringLiteral("Supervisor ou PIN incorreto (tentativa 1 de 3)."));
    EXPECT_LE(d.lblAviso->fontMetrics().horizontalAdvance(d.lblAviso->text()), d.lblAviso->contentsRect().width());
    EXPECT_TRUE(d.edtPin->hasFocus());
    EXPECT_TRUE(d.edtPin->text().isEmpty());
    QApplication::processEvents();
    EXPECT_EQ(NoDialogo(d.lblAviso, &d), aviso);
    EXPECT_EQ(NoDialogo(d.teclado->sbtTecla[0], &d), zero);
    EXPECT_TRUE(d.rect().contains(zero)) << "the 0 key is whole on the dialog";

    // Back to the code by a tap: the keyboard follows the finger.
    QTest::mouseClick(d.edtSupervisor, Qt::LeftButton);
    EXPECT_TRUE(d.edtSupervisor->hasFocus());
    EXPECT_EQ(d.teclado->Alvo(), d.edtSupervisor);

    // The frame the message box has, not white on white.
    const QImage img = d.grab().toImage();
    const QColor borda = img.pixelColor(0, img.height() / 2);
    EXPECT_LT(std::abs(borda.red() - kCorMoldura.red()) + std::abs(borda.green() - kCorMoldura.green())
                  + std::abs(borda.blue() - kCorMoldura.blue()),
              30)
        << borda.name().toStdString();
    d.reject();
}

TEST_F(TelasOperador, MotivoAvisoNaoMoveALista)
{
    const QList<TMotivo> motivos{{"1", "01", "Desistência do cliente"},
                                 {"2", "02", "Produto lançado errado"},
                                 {"3", "03", "Demora no preparo"},
                                 {"4", "04", "Produto com defeito"}};
    // With and without the note on where the reasons came from.
    for (const QString& nota : {QString(), QStringLiteral("Nenhum motivo cadastrado no banco: motivos do arquivo.")}) {
        SCOPED_TRACE(nota.toStdString());
        TObservacaoDialog d(QStringLiteral("P1"), QStringLiteral("Feijoada"), motivos, nota);
        Mostra(d);
        const QRect lista = NoDialogo(d.lstMotivos, &d);
        const QRect linha = d.lstMotivos->visualItemRect(d.lstMotivos->item(1));
        const QPoint dedo = d.lstMotivos->viewport()->mapTo(&d, linha.center());

        QTest::mouseClick(d.sbtOk, Qt::LeftButton);
        ASSERT_TRUE(d.isVisible());
        EXPECT_EQ(d.lblAviso->text(), QStringLiteral("Escolha um motivo na lista."));
        QApplication::processEvents();
        EXPECT_EQ(NoDialogo(d.lstMotivos, &d), lista);

        // The tap that was aimed at "Produto lançado errado" still chooses it.
        QTest::mouseClick(d.lstMotivos->viewport(), Qt::LeftButton, {}, d.lstMotivos->viewport()->mapFrom(&d, dedo));
        QTest::mouseClick(d.sbtOk, Qt::LeftButton);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(d.Motivo().Texto, QStringLiteral("Produto lançado errado"));
    }
}

} // namespace
