#pragma once
// A supervisor authorises an access-controlled operation with code and PIN.
// Three wrong PINs close the dialog refused.
#include <QDialog>

#include "ArquivoAcesso.h"

class QLabel;
class QLineEdit;
class TBlendedBitBtn;
class TTecladoWidget;

// What the operator is told while a supervisor's code is locked out.
QString TextoBloqueio(const QString& codigo, qint64 segundos);

class TVerificaAcessoDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxFalhas = 3;

    TVerificaAcessoDialog(int acesso, const QString& operador, const TArquivoAcesso& arquivo,
                          QWidget* parent = nullptr);

    // Who authorised (after Accepted).
    QString Autorizador() const { return m_autorizador; }
    // Wrong PINs so far; kMaxFalhas of them refused the operation.
    int Falhas() const { return m_falhas; }
    // The code the last wrong PIN was typed for.
    QString UltimoCodigo() const { return m_ultimoCodigo; }

    QLabel* lblAviso = nullptr;
    QLineEdit* edtSupervisor = nullptr;
    QLineEdit* edtPin = nullptr;
    TTecladoWidget* teclado = nullptr;
    TBlendedBitBtn* sbtOk = nullptr;
    TBlendedBitBtn* sbtCancelar = nullptr;

protected:
    void keyPressEvent(QKeyEvent* evento) override;

private:
    void Confere();
    void Avisa(const QString& texto);

    int m_acesso;
    const TArquivoAcesso& m_arquivo;
    QString m_autorizador;
    QString m_ultimoCodigo;
    int m_falhas = 0;
};
