#include "ObservacaoDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "BlendedBitBtn.h"
#include "Toque.h"

TObservacaoDialog::TObservacaoDialog(const QString& cdProduto, const QString& nmProduto, const QList<TMotivo>& motivos,
                                     const QString& aviso, QWidget* parent)
    : QDialog(parent), m_motivos(motivos)
{
    PreparaDialogoToque(this, QStringLiteral("frmObservacao"), QStringLiteral("Motivo do cancelamento"));

    auto* lblTitulo = new QLabel(QStringLiteral("Motivo do cancelamento"), this);
    lblTitulo->setFont(FonteToque(24, true));
    lblProduto = new QLabel(QStringLiteral("Produto: %1 - %2").arg(cdProduto, nmProduto), this);
    lblProduto->setObjectName(QStringLiteral("lblProduto"));
    lblProduto->setFont(FonteToque(20));
    lblProduto->setWordWrap(true);
    lblAviso = new QLabel(aviso, this);
    lblAviso->setObjectName(QStringLiteral("lblAviso"));
    lblAviso->setFont(FonteToque(18, true));
    lblAviso->setStyleSheet(QStringLiteral("color: #b00000"));
    lblAviso->setWordWrap(true);
    lblAviso->setVisible(!aviso.isEmpty());

    lstMotivos = new QListWidget(this);
    lstMotivos->setObjectName(QStringLiteral("lstMotivos"));
    lstMotivos->setFont(FonteToque(22));
    // Rows tall enough for a finger.
    lstMotivos->setStyleSheet(QStringLiteral("QListWidget::item { padding: 12px; border-bottom: 1px solid #ddd; }"
                                             "QListWidget::item:selected { background: #cc5b2c; color: white; }"));
    lstMotivos->setMinimumHeight(280);
    for (const TMotivo& m : motivos)
        lstMotivos->addItem(m.Texto);
    // A tap picks a reason; a second tap on it confirms.
    connect(lstMotivos, &QListWidget::itemDoubleClicked, this, &TObservacaoDialog::Confirma);

    sbtOk = BotaoToque(QStringLiteral("OK"), QStringLiteral("sbtOk"), this);
    sbtCancelar = BotaoToque(QStringLiteral("Cancelar"), QStringLiteral("sbtCancelar"), this);
    connect(sbtOk, &QAbstractButton::clicked, this, &TObservacaoDialog::Confirma);
    connect(sbtCancelar, &QAbstractButton::clicked, this, &QDialog::reject);
    auto* botoes = new QHBoxLayout;
    botoes->addWidget(sbtCancelar);
    botoes->addWidget(sbtOk);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->setSpacing(10);
    layout->addWidget(lblTitulo);
    layout->addWidget(lblProduto);
    layout->addWidget(lblAviso);
    layout->addWidget(lstMotivos, 1);
    layout->addLayout(botoes);
    setMinimumWidth(520);
}

void TObservacaoDialog::Confirma()
{
    const int linha = lstMotivos->currentRow();
    if (linha < 0 || !lstMotivos->currentItem()->isSelected()) {
        lblAviso->setText(QStringLiteral("Escolha um motivo na lista."));
        lblAviso->setVisible(true);
        return;
    }
    m_motivo = m_motivos.at(linha);
    accept();
}
