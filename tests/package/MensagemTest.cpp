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
#include "Pixels.h"

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

    // Its answer is recorded: Esc leaves it open for the operator to choose;
    // Enter gives the ringed default, "Sim".
    NaCaixa([](TMensagemDialog& box) {
        QTest::keyClick(&box, Qt::Key_Escape);
        EXPECT_TRUE(box.isVisible());
        Clica(box.sbtNao);
    });
    EXPECT_FALSE(pergunta());
    NaCaixa([](TMensagemDialog& box) {
        EXPECT_EQ(box.Padrao(), box.sbtSim);
        QTest::keyClick(&box, Qt::Key_Return);
    });
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

// Dark pixels just outside a button: the ring that marks Enter's answer.
int Anel(TMensagemDialog& box, const QWidget* botao)
{
    const QImage img = box.grab().toImage();
    const QRect faixa = botao->geometry().adjusted(-6, -6, 6, 6);
    return ContaPixels(img, faixa, [](const QColor& c) { return c.lightness() < 80; })
        - ContaPixels(img, botao->geometry(), [](const QColor& c) { return c.lightness() < 80; });
}

TEST(MensagemTest, EachKindOfQuestionHasItsDefaultAndItsEscape)
{
    const auto pergunta = [](int tipo, TPerguntaMensagem teclas) {
        return Mensagem(QStringLiteral("Pergunta?"), QString(), QStringLiteral("N"), QStringLiteral("S"), tipo,
                        QString(), QString(), 0, nullptr, {.Pergunta = teclas});
    };
    struct Caso {
        const char* nome;
        int tipo;
        TPerguntaMensagem teclas;
        bool padraoNao; // "Não" is ringed and Enter answers it
        bool escapeResponde; // false: Escape leaves the box open
    };
    const Caso casos[] = {
        {"confirmation", 1, TPerguntaMensagem::Confirmacao, false, true},
        {"recorded answer", 1, TPerguntaMensagem::Escolha, false, false},
        {"cannot be undone", 1, TPerguntaMensagem::Irreversivel, true, true},
        {"warning style by its type", 0, TPerguntaMensagem::Automatica, true, true},
        {"plain question by its type", 1, TPerguntaMensagem::Automatica, false, false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        int anelSim = 0, anelNao = 0;
        NaCaixa([&](TMensagemDialog& box) {
            ASSERT_NE(box.sbtNao, nullptr);
            EXPECT_EQ(box.Padrao(), c.padraoNao ? box.sbtNao : box.sbtSim);
            anelSim = Anel(box, box.sbtSim);
            anelNao = Anel(box, box.sbtNao);
            QTest::keyClick(&box, Qt::Key_Enter);
        });
        EXPECT_EQ(pergunta(c.tipo, c.teclas), !c.padraoNao);
        // Only the default is ringed.
        EXPECT_GT(c.padraoNao ? anelNao : anelSim, 100);
        EXPECT_LT(c.padraoNao ? anelSim : anelNao, 10);

        bool aberta = false;
        NaCaixa([&](TMensagemDialog& box) {
            QTest::keyClick(&box, Qt::Key_Escape);
            aberta = box.isVisible();
            if (aberta)
                Clica(box.sbtSim);
        });
        // Escape answers "Não" or nothing at all.
        EXPECT_EQ(pergunta(c.tipo, c.teclas), !c.escapeResponde);
        EXPECT_EQ(aberta, !c.escapeResponde);
    }
}

TEST(MensagemTest, FailuresShowAWarningOrErrorSignAndOnlyInformationTheBlueOne)
{
    const auto cor = [](TSinalMensagem sinal, int tipo = 3, const char* pergunta = "N") {
        QColor fundo;
        TSinalMensagem mostrado = TSinalMensagem::Automatico;
        NaCaixa([&](TMensagemDialog& box) {
            QWidget* imagem = box.findChild<QWidget*>(QStringLiteral("imgSinal"));
            ASSERT_NE(imagem, nullptr);
            // Inside the round sign, above its letter.
            fundo = imagem->grab().toImage().pixelColor(28, 9);
            mostrado = box.Sinal();
            box.done(QDialog::Accepted);
        });
        Mensagem(QStringLiteral(
                     "Operação bloqueada. A quantidade cancelada não pode ser maior que a quantidade pedida."),
                 QString(), QStringLiteral("N"), QLatin1String(pergunta), tipo, QString(), QString(), 0, nullptr,
                 {.Sinal = sinal});
        return std::make_pair(mostrado, fundo);
    };
    // A notice as the module sends it (type 3, nothing else said) is a warning.
    const auto [automatico, amarelo] = cor(TSinalMensagem::Automatico);
    EXPECT_EQ(automatico, TSinalMensagem::Aviso);
    EXPECT_GT(amarelo.red(), 180);
    EXPECT_GT(amarelo.green(), 120);
    EXPECT_LT(amarelo.blue(), 60);

    const auto [erro, vermelho] = cor(TSinalMensagem::Erro);
    EXPECT_EQ(erro, TSinalMensagem::Erro);
    EXPECT_GT(vermelho.red(), 150);
    EXPECT_LT(vermelho.green(), 40);

    const auto [info, azul] = cor(TSinalMensagem::Informacao);
    EXPECT_EQ(info, TSinalMensagem::Informacao);
    EXPECT_GT(azul.blue(), 150);
    EXPECT_LT(azul.red(), 100);

    // A question that cannot be undone warns as well.
    EXPECT_EQ(cor(TSinalMensagem::Automatico, 0, "S").first, TSinalMensagem::Aviso);
}

} // namespace
