#include "Toque.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

#include "BlendedBitBtn.h"

QFont FonteToque(int pixels, bool negrito)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(negrito);
    return f;
}

TBlendedBitBtn* BotaoToque(const QString& texto, const QString& nome, QWidget* parent)
{
    auto* b = new TBlendedBitBtn(parent);
    b->setObjectName(nome);
    b->setText(texto);
    b->setFont(FonteToque(22, true));
    b->SetColor(QColor(204, 91, 44));
    b->setMinimumSize(88, 56);
    return b;
}

void PreparaDialogoToque(QWidget* dialogo, const QString& nome, const QString& titulo)
{
    dialogo->setObjectName(nome);
    dialogo->setWindowTitle(titulo);
    dialogo->setAutoFillBackground(true);
    QPalette pal = dialogo->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    dialogo->setPalette(pal);
}
