#include "MensagemDialog.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include "BlendedBitBtn.h"
#include "EstiloCasa.h"

namespace {

QFont bigFont(int pixels, bool bold = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// A round sign drawn in the box: "i" for information, "?" for a question,
// "!" for a warning, "×" for an error.
class TSinal : public QWidget {
public:
    TSinal(TSinalMensagem sinal, QWidget* parent) : QWidget(parent), m_sinal(sinal)
    {
        setObjectName(QStringLiteral("imgSinal"));
        setFixedSize(56, 56);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QColor fill = kCorMoldura;
        QString sign = QStringLiteral("?");
        switch (m_sinal) {
        case TSinalMensagem::Informacao:
            fill = QColor(60, 110, 180);
            sign = QStringLiteral("i");
            break;
        case TSinalMensagem::Aviso:
            fill = QColor(220, 160, 0);
            sign = QStringLiteral("!");
            break;
        case TSinalMensagem::Erro:
            fill = QColor(192, 0, 0);
            sign = QStringLiteral("\u00d7");
            break;
        case TSinalMensagem::Automatico: break; // a plain question
        }
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawEllipse(QRectF(2, 2, 52, 52));
        p.setPen(Qt::white);
        p.setFont(bigFont(32, true));
        p.drawText(rect(), Qt::AlignCenter, sign);
    }

private:
    TSinalMensagem m_sinal;
};

TBlendedBitBtn* bigButton(const QString& caption, QWidget* parent)
{
    auto* b = new TBlendedBitBtn(parent);
    b->setText(caption);
    b->setFont(bigFont(18, true));
    b->setFixedSize(140, 56);
    return b;
}
} // namespace

TMensagemDialog::TMensagemDialog(const QString& text, bool pergunta, MensagemEstilo estilo, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_pergunta(pergunta)
{
    estilo = EstiloEfetivo(pergunta, 1, estilo);
    m_teclas = estilo.Pergunta;
    m_sinal = estilo.Sinal;
    setObjectName(QStringLiteral("frmMensagem"));
    setModal(true);
    setWindowTitle(QStringLiteral("Mensagem"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);

    lblTexto = new QLabel(text, this);
    lblTexto->setObjectName(QStringLiteral("lblTexto"));
    lblTexto->setFont(bigFont(20));
    lblTexto->setWordWrap(true);
    lblTexto->setTextFormat(Qt::PlainText);
    lblTexto->setMinimumWidth(380);
    lblTexto->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(new TSinal(estilo.Sinal, this), 0, Qt::AlignTop);
    top->addWidget(lblTexto, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(24);
    buttons->addStretch(1);
    if (!pergunta) {
        sbtSim = bigButton(QStringLiteral("OK"), this);
        buttons->addWidget(sbtSim);
    } else {
        sbtSim = bigButton(QStringLiteral("Sim"), this);
        sbtNao = bigButton(QStringLiteral("Não"), this);
        buttons->addWidget(sbtSim);
        buttons->addWidget(sbtNao);
        connect(sbtNao, &QAbstractButton::clicked, this, [this] { Responde(false); });
    }
    buttons->addStretch(1);
    sbtSim->setObjectName(QStringLiteral("sbtSim"));
    if (sbtNao)
        sbtNao->setObjectName(QStringLiteral("sbtNao"));
    connect(sbtSim, &QAbstractButton::clicked, this, [this] { Responde(true); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 20);
    layout->setSpacing(24);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    // Wide enough for a long sentence on few lines, never wider than the screen.
    int width = 560;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        width = qMin(width, screen->availableGeometry().width() - 20);
    setFixedWidth(width);
    adjustSize();

    // What cannot be undone waits for a deliberate "Sim".
    m_padrao = m_teclas == TPerguntaMensagem::Irreversivel && sbtNao ? sbtNao : sbtSim;
}

void TMensagemDialog::Responde(bool answer)
{
    m_answer = answer;
    if (answer)
        accept();
    else
        reject();
}

void TMensagemDialog::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter p(this);
    p.setPen(QPen(kCorMoldura, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    if (m_padrao) {
        // The ring that says which answer Enter gives.
        p.setPen(QPen(QColor(30, 30, 30), 3));
        p.drawRoundedRect(QRectF(m_padrao->geometry()).adjusted(-5, -5, 5, 5), 8, 8);
    }
}

void TMensagemDialog::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: Responde(m_padrao == sbtSim); return;
    case Qt::Key_Escape:
        // Leaving a notice is reading it; leaving a confirmation is a "no"; an
        // answer that is recorded is the operator's to give, not the key's.
        if (!m_pergunta)
            Responde(true);
        else if (m_teclas != TPerguntaMensagem::Escolha)
            Responde(false);
        return;
    default: QDialog::keyPressEvent(event);
    }
}
