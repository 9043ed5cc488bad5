#include "Toque.h"

#include <QColor>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>

#include "BlendedBitBtn.h"
#include "EstiloCasa.h"

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

QLabel* RotuloAviso(QWidget* parent)
{
    auto* aviso = new QLabel(parent);
    aviso->setObjectName(QStringLiteral("lblAviso"));
    aviso->setFont(Arial(18, true));
    aviso->setStyleSheet(QStringLiteral("color: #b00000"));
    aviso->setWordWrap(true);
    aviso->hide();
    return aviso;
}
