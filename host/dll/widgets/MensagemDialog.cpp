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

// A round sign drawn in the box: "i" for a notice, "?" for a question, "!" for a warning.
class TSinal : public QWidget {
public:
    TSinal(TMensagemDialog::TKind kind, QWidget* parent) : QWidget(parent), m_kind(kind) { setFixedSize(56, 56); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QColor fill = m_kind == TMensagemDialog::TKind::Warning ? QColor(220, 160, 0)
            : m_kind == TMensagemDialog::TKind::Question        ? kCorMoldura
                                                                : QColor(60, 110, 180);
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawEllipse(QRectF(2, 2, 52, 52));
        p.setPen(Qt::white);
        p.setFont(bigFont(32, true));
        const QString sign = m_kind == TMensagemDialog::TKind::Warning ? QStringLiteral("!")
            : m_kind == TMensagemDialog::TKind::Question               ? QStringLiteral("?")
                                                                       : QStringLiteral("i");
        p.drawText(rect(), Qt::AlignCenter, sign);
    }

private:
    TMensagemDialog::TKind m_kind;
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

TMensagemDialog::TMensagemDialog(const QString& text, TKind kind, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_kind(kind)
{
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
    top->addWidget(new TSinal(kind, this), 0, Qt::AlignTop);
    top->addWidget(lblTexto, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(24);
    buttons->addStretch(1);
    if (kind == TKind::Notice) {
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
}

void TMensagemDialog::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: Responde(true); return;
    case Qt::Key_Escape:
        // Leaving a question is a "no"; leaving a notice is reading it.
        Responde(m_kind == TKind::Notice);
        return;
    default: QDialog::keyPressEvent(event);
    }
}
