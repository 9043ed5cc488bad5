#include "RelFiscaisDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "BlendedBitBtn.h"
#include "LogsTill.h"
#include "Mensagem.h"
#include "Toque.h"

TRelFiscaisDialog::TRelFiscaisDialog(QWidget* parent) : QDialog(parent)
{
    QVBoxLayout* layout = PreparaDialogoToque(this, QStringLiteral("frmRelFiscais"), QStringLiteral("Menu Fiscal"));
    auto* grade = new QGridLayout;
    grade->setSpacing(10);
    const QStringList entradas = Entradas();
    for (int i = 0; i < entradas.size(); ++i) {
        auto* b = BotaoToque(entradas.at(i), QStringLiteral("sbtEntrada%1").arg(i + 1), this);
        b->setMinimumSize(260, 64);
        connect(b, &QAbstractButton::clicked, this, [this, e = entradas.at(i)] { Escolhe(e); });
        grade->addWidget(b, i / 2, i % 2);
        sbtEntradas.append(b);
    }
    sbtFechar = BotaoToque(QStringLiteral("Fechar"), QStringLiteral("sbtFechar"), this);
    connect(sbtFechar, &QAbstractButton::clicked, this, &QDialog::accept);

    layout->addLayout(grade);
    layout->addWidget(sbtFechar, 0, Qt::AlignRight);
}

QStringList TRelFiscaisDialog::Entradas()
{
    return {QStringLiteral("Leitura X"),
            QStringLiteral("Redução Z"),
            QStringLiteral("Leitura da Memória Fiscal"),
            QStringLiteral("Espelho MFD"),
            QStringLiteral("Arquivo MFD"),
            QStringLiteral("Tabela de Produtos"),
            QStringLiteral("Parâmetros de Configuração")};
}

void TRelFiscaisDialog::Escolhe(const QString& entrada)
{
    QVariantList nada;
    LogImpNFiscalTill({QStringLiteral("Menu fiscal: %1 pedida; nenhuma impressora fiscal neste caixa").arg(entrada)},
                      nada);
    Avisa(QStringLiteral("%1: nenhuma impressora fiscal está ligada a este caixa. Nada foi emitido.").arg(entrada));
}
