// The shared message box: the handler seam answers in its place; the real
// dialog asks "Sim"/"Não" for a question and shows "OK" for a notice.
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "BlendedBitBtn.h"
#include "Mensagem.h"
#include "MensagemDialog.h"

namespace {

// Acts on the message box once its modal loop runs.
void NaCaixa(std::function<void(TMensagemDialog&)> action)
{
    QTimer::singleShot(0, qApp, [action] {
        auto* box = qobject_cast<TMensagemDialog*>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no message box open";
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* other = qobject_cast<TMensagemDialog*>(w))
                    other->done(QDialog::Rejected);
            return;
        }
        action(*box);
        if (box->isVisible())
            box->done(QDialog::Rejected);
    });
}

void Clica(TBlendedBitBtn* b)
{
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
}

TEST(MensagemTest, HandlerAnswersWithTheCallsArguments)
{
    QList<MensagemArgs> seen;
    SetMensagemHandler([&](const MensagemArgs& a) {
        seen << a;
        return false;
    });
    EXPECT_FALSE(Mensagem(QStringLiteral("Confirma o cancelamento ?"), QString(), QStringLiteral("N"),
                          QStringLiteral("S"), 1, QString(), QStringLiteral("002"), 0));
    SetMensagemHandler({});
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0].Texto, QStringLiteral("Confirma o cancelamento ?"));
    EXPECT_EQ(seen[0].Pergunta, QStringLiteral("S"));
    EXPECT_EQ(seen[0].Tipo, 1);
    EXPECT_EQ(seen[0].IdEsquema, QStringLiteral("002"));
}

TEST(MensagemTest, QuestionAsksSimOrNao)
{
    const auto pergunta = [] {
        return Mensagem(QStringLiteral("O produto foi produzido?"), QString(), QStringLiteral("N"), QStringLiteral("S"),
                        1, QString(), QString(), 0);
    };
    QString texto;
    NaCaixa([&](TMensagemDialog& box) {
        texto = box.lblTexto->text();
        ASSERT_NE(box.sbtNao, nullptr);
        EXPECT_EQ(box.sbtSim->text(), QStringLiteral("Sim"));
        EXPECT_EQ(box.sbtNao->text(), QStringLiteral("Não"));
        Clica(box.sbtSim);
    });
    EXPECT_TRUE(pergunta());
    EXPECT_EQ(texto, QStringLiteral("O produto foi produzido?"));

    NaCaixa([](TMensagemDialog& box) { Clica(box.sbtNao); });
    EXPECT_FALSE(pergunta());

    // Leaving the question with Esc is a "no"; Enter is a "yes".
    NaCaixa([](TMensagemDialog& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_FALSE(pergunta());
    NaCaixa([](TMensagemDialog& box) { QTest::keyClick(&box, Qt::Key_Return); });
    EXPECT_TRUE(pergunta());
}

TEST(MensagemTest, NoticeHasOnlyOkAndReturnsTrue)
{
    NaCaixa([](TMensagemDialog& box) {
        EXPECT_EQ(box.sbtNao, nullptr);
        EXPECT_EQ(box.sbtSim->text(), QStringLiteral("OK"));
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    EXPECT_TRUE(Mensagem(QStringLiteral("Quantidade deve ser informada."), QString(), QStringLiteral("N"),
                         QStringLiteral("N"), 3, QString(), QString(), 0));
}

} // namespace
