#include "VerificaAcessoDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "BlendedBitBtn.h"
#include "TecladoWidget.h"
#include "Toque.h"

TVerificaAcessoDialog::TVerificaAcessoDialog(int acesso, const QString& operador, const TArquivoAcesso& arquivo,
                                             QWidget* parent)
    : QDialog(parent), m_acesso(acesso), m_arquivo(arquivo)
{
    QVBoxLayout* layout = PreparaDialogoToque(this, QStringLiteral("frmVerificaAcesso"),
                                              QStringLiteral("Autorização do supervisor"));
    auto* lblOperacao
        = new QLabel(QStringLiteral("Operação controlada: código %1\nOperador: %2").arg(acesso).arg(operador), this);
    lblOperacao->setObjectName(QStringLiteral("lblOperacao"));
    lblOperacao->setFont(Arial(18));

    const auto campo = [this](const QString& nome, QLineEdit::EchoMode modo) {
        auto* e = new QLineEdit(this);
        e->setObjectName(nome);
        e->setFont(Arial(28, true));
        e->setMinimumHeight(56);
        e->setEchoMode(modo);
        e->setMaxLength(12);
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), e));
        return e;
    };
    edtSupervisor = campo(QStringLiteral("edtSupervisor"), QLineEdit::Normal);
    edtPin = campo(QStringLiteral("edtPin"), QLineEdit::Password);
    auto* form = new QFormLayout;
    auto* lblSupervisor = new QLabel(QStringLiteral("Supervisor:"), this);
    auto* lblPin = new QLabel(QStringLiteral("PIN:"), this);
    lblSupervisor->setFont(Arial(20));
    lblPin->setFont(Arial(20));
    form->addRow(lblSupervisor, edtSupervisor);
    form->addRow(lblPin, edtPin);

    lblAviso = RotuloAviso(this);

    teclado = new TTecladoWidget(this);
    teclado->SetAlvos({edtSupervisor, edtPin});
    // A warning is answered by typing: once the field it asks for gets a digit
    // it has said its piece.
    for (QLineEdit* e : {edtSupervisor, edtPin})
        connect(e, &QLineEdit::textEdited, this, [this](const QString& texto) {
            if (!texto.isEmpty())
                lblAviso->clear();
        });

    QHBoxLayout* botoes = BotoesOkCancelar(this, sbtOk, sbtCancelar);
    connect(sbtOk, &QAbstractButton::clicked, this, &TVerificaAcessoDialog::Confere);

    layout->addWidget(lblOperacao);
    layout->addLayout(form);
    layout->addWidget(lblAviso);
    layout->addWidget(teclado);
    layout->addLayout(botoes);
    // Wide enough for "Supervisor ou PIN incorreto (tentativa 1 de 3)." on one line.
    setMinimumWidth(600);
    edtSupervisor->setFocus();
}

QString TextoBloqueio(const QString& codigo, qint64 segundos)
{
    const qint64 minutos = (segundos + 59) / 60;
    const QString espera = minutos <= 1 ? QStringLiteral("1 minuto") : QStringLiteral("%1 minutos").arg(minutos);
    return QStringLiteral("Supervisor %1 bloqueado por PINs incorretos demais. Aguarde %2 e tente de novo, ou "
                          "chame outro supervisor.")
        .arg(codigo, espera);
}

void TVerificaAcessoDialog::Avisa(const QString& texto)
{
    lblAviso->setText(texto);
}

void TVerificaAcessoDialog::Confere()
{
    const QString codigo = edtSupervisor->text().trimmed();
    if (codigo.isEmpty()) {
        Avisa(QStringLiteral("Informe o código do supervisor."));
        teclado->SetAlvos({edtSupervisor, edtPin});
        return;
    }
    if (edtPin->text().isEmpty()) {
        Avisa(QStringLiteral("Informe o PIN do supervisor."));
        teclado->SetAlvos({edtPin, edtSupervisor});
        return;
    }
    switch (m_arquivo.Confere(codigo, edtPin->text(), m_acesso)) {
    case TArquivoAcesso::TConferencia::Autorizado:
        m_autorizador = codigo;
        accept();
        return;
    case TArquivoAcesso::TConferencia::SemPermissao:
        Avisa(QStringLiteral("O usuário %1 não pode autorizar esta operação (código %2).").arg(codigo).arg(m_acesso));
        break;
    case TArquivoAcesso::TConferencia::Bloqueado:
        Avisa(TextoBloqueio(codigo, m_arquivo.SegundosBloqueado(codigo)));
        break;
    case TArquivoAcesso::TConferencia::PinErrado:
        m_ultimoCodigo = codigo;
        // This wrong PIN may have been the one that locked the code out.
        if (const qint64 segundos = m_arquivo.SegundosBloqueado(codigo); segundos > 0) {
            ++m_falhas;
            Avisa(TextoBloqueio(codigo, segundos));
            break;
        }
        if (++m_falhas >= kMaxFalhas) {
            reject();
            return;
        }
        Avisa(QStringLiteral("Supervisor ou PIN incorreto (tentativa %1 de %2).").arg(m_falhas).arg(kMaxFalhas));
        break;
    }
    edtPin->clear();
    teclado->SetAlvos({edtPin, edtSupervisor});
}

void TVerificaAcessoDialog::keyPressEvent(QKeyEvent* evento)
{
    if (evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) {
        Confere();
        return;
    }
    QDialog::keyPressEvent(evento);
}
