#include "TecladoNumericoDialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "BlendedBitBtn.h"
#include "Mensagem.h"
#include "TecladoWidget.h"
#include "Toque.h"

TTecladoNumericoDialog::TTecladoNumericoDialog(const QString& titulo, const QString& pergunta, const QString& vazio,
                                               bool decimais, int tamanho, QWidget* parent)
    : QDialog(parent), m_vazio(vazio), m_decimais(decimais)
{
    QVBoxLayout* layout = PreparaDialogoToque(this, QStringLiteral("frmTecladoNumerico"), titulo);
    lblPergunta = new QLabel(pergunta, this);
    lblPergunta->setObjectName(QStringLiteral("lblPergunta"));
    lblPergunta->setFont(Arial(20));
    lblPergunta->setWordWrap(true);

    edtValor = new QLineEdit(this);
    edtValor->setObjectName(QStringLiteral("edtValor"));
    edtValor->setFont(Arial(32, true));
    edtValor->setAlignment(Qt::AlignRight);
    edtValor->setMinimumHeight(56);
    if (tamanho > 0)
        edtValor->setMaxLength(tamanho);
    const QString separador = QRegularExpression::escape(QLocale().decimalPoint());
    edtValor->setValidator(
        new QRegularExpressionValidator(QRegularExpression(decimais ? QStringLiteral("\\d*(%1\\d*)?").arg(separador)
                                                                    : QStringLiteral("\\d*")),
                                        edtValor));

    teclado = new TTecladoWidget(this);
    teclado->SetDecimais(decimais);
    teclado->SetAlvos({edtValor});

    QHBoxLayout* botoes = BotoesOkCancelar(this, sbtOk, sbtCancelar);
    connect(sbtOk, &QAbstractButton::clicked, this, &TTecladoNumericoDialog::Confirma);

    layout->addWidget(lblPergunta);
    layout->addWidget(edtValor);
    layout->addWidget(teclado);
    layout->addLayout(botoes);
    setMinimumWidth(360);
    edtValor->setFocus();
}

void TTecladoNumericoDialog::SetValor(const QString& valor)
{
    int pos = 0;
    QString texto = valor.trimmed();
    if (edtValor->validator()->validate(texto, pos) == QValidator::Acceptable)
        edtValor->setText(texto.left(edtValor->maxLength()));
}

void TTecladoNumericoDialog::Confirma()
{
    QString texto = edtValor->text().trimmed();
    const QString separador = QLocale().decimalPoint();
    if (m_decimais && texto.endsWith(separador))
        texto.chop(separador.size());
    if (m_decimais && texto.startsWith(separador))
        texto.prepend(QLatin1Char('0'));
    if (texto.isEmpty()) {
        Avisa(m_vazio);
        edtValor->setFocus();
        return;
    }
    m_valor = texto;
    accept();
}

void TTecladoNumericoDialog::keyPressEvent(QKeyEvent* evento)
{
    if (evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) {
        Confirma();
        return;
    }
    QDialog::keyPressEvent(evento);
}
