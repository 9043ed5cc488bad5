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
    QVBoxLayout* layout = PreparaDialogoToque(this, QStringLiteral("frmObservacao"),
                                              QStringLiteral("Motivo do cancelamento"));
    lblProduto = new QLabel(QStringLiteral("Produto: %1 - %2").arg(cdProduto, nmProduto), this);
    lblProduto->setObjectName(QStringLiteral("lblProduto"));
    lblProduto->setFont(Arial(20));
    lblProduto->setWordWrap(true);
    // Room for the note on where the reasons came from (it names a file), else
    // for the one-line warning.
    lblAviso = RotuloAviso(this, aviso.isEmpty() ? 1 : 3);
    lblAviso->setText(aviso);
    lblAviso->setToolTip(aviso);

    lstMotivos = new QListWidget(this);
    lstMotivos->setObjectName(QStringLiteral("lstMotivos"));
    lstMotivos->setFont(Arial(22));
    // Rows tall enough for a finger.
    lstMotivos->setStyleSheet(QStringLiteral("QListWidget::item { padding: 12px; border-bottom: 1px solid #ddd; }"
                                             "QListWidget::item:selected { background: %1; color: white; }")
                                  .arg(kCorMoldura.name()));
    lstMotivos->setMinimumHeight(280);
    for (const TMotivo& m : motivos)
        lstMotivos->addItem(m.Texto);
    // A tap picks a reason; a second tap on it confirms.
    connect(lstMotivos, &QListWidget::itemDoubleClicked, this, &TObservacaoDialog::Confirma);

    QHBoxLayout* botoes = BotoesOkCancelar(this, sbtOk, sbtCancelar);
    connect(sbtOk, &QAbstractButton::clicked, this, &TObservacaoDialog::Confirma);

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
        return;
    }
    m_motivo = m_motivos.at(linha);
    accept();
}
