#include "Toque.h"

#include <QColor>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QVBoxLayout>

#include "BlendedBitBtn.h"
#include "EstiloCasa.h"

namespace {

// The house frame drawn over a dialog's edge, as the message box has it: on a
// white screen a white dialog without it has no edge at all.
class TMoldura : public QWidget {
public:
    explicit TMoldura(QWidget* dialogo) : QWidget(dialogo)
    {
        setObjectName(QStringLiteral("moldura"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        dialogo->installEventFilter(this);
        setGeometry(dialogo->rect());
        raise();
    }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (objeto == parent() && (evento->type() == QEvent::Resize || evento->type() == QEvent::Show)) {
            setGeometry(parentWidget()->rect());
            raise();
        }
        return false;
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setPen(QPen(kCorMoldura, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
};

} // namespace

TBlendedBitBtn* BotaoToque(const QString& texto, const QString& nome, QWidget* parent)
{
    auto* b = new TBlendedBitBtn(parent);
    b->setObjectName(nome);
    b->setText(texto);
    b->setFont(Arial(22, true));
    b->SetColor(kCorMoldura);
    b->setMinimumSize(88, 56);
    return b;
}

QVBoxLayout* PreparaDialogoToque(QDialog* dialogo, const QString& nome, const QString& titulo)
{
    dialogo->setObjectName(nome);
    dialogo->setWindowTitle(titulo);
    // Its own title line and frame, like the message box: no window decoration.
    dialogo->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    new TMoldura(dialogo);
    dialogo->setAutoFillBackground(true);
    QPalette pal = dialogo->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    dialogo->setPalette(pal);

    auto* lblTitulo = new QLabel(titulo, dialogo);
    lblTitulo->setObjectName(QStringLiteral("lblTitulo"));
    lblTitulo->setFont(Arial(24, true));
    auto* coluna = new QVBoxLayout(dialogo);
    coluna->setContentsMargins(24, 16, 24, 16);
    coluna->setSpacing(10);
    coluna->addWidget(lblTitulo);
    return coluna;
}

QHBoxLayout* BotoesOkCancelar(QDialog* dialogo, TBlendedBitBtn*& ok, TBlendedBitBtn*& cancelar)
{
    ok = BotaoToque(QStringLiteral("OK"), QStringLiteral("sbtOk"), dialogo);
    cancelar = BotaoToque(QStringLiteral("Cancelar"), QStringLiteral("sbtCancelar"), dialogo);
    QObject::connect(cancelar, &QAbstractButton::clicked, dialogo, &QDialog::reject);
    auto* botoes = new QHBoxLayout;
    botoes->addWidget(cancelar);
    botoes->addWidget(ok);
    return botoes;
}

QLabel* RotuloAviso(QWidget* parent, int linhas)
{
    auto* aviso = new QLabel(parent);
    aviso->setObjectName(QStringLiteral("lblAviso"));
    aviso->setFont(Arial(18, true));
    aviso->setStyleSheet(QStringLiteral("color: #b00000"));
    aviso->setWordWrap(true);
    aviso->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Its place is kept from the start: a warning that appears must not move
    // the keys or the list the operator is about to tap.
    aviso->setFixedHeight(linhas * QFontMetrics(aviso->font()).lineSpacing() + 4);
    return aviso;
}
