#pragma once
// The numeric keypad the cancellation asks quantities with: the caller's
// title, prompt and empty-entry message; a decimal separator only when
// decimals are allowed. The value comes back in the locale's decimal format.
#include <QDialog>

class QLabel;
class QLineEdit;
class TBlendedBitBtn;
class TTecladoWidget;

class TTecladoNumericoDialog : public QDialog {
    Q_OBJECT
public:
    // tamanho: the most characters the entry takes (0: no limit).
    TTecladoNumericoDialog(const QString& titulo, const QString& pergunta, const QString& vazio, bool decimais,
                           int tamanho, QWidget* parent = nullptr);

    // Starts from this value when it is a number the keypad could have typed.
    void SetValor(const QString& valor);
    // The confirmed number, without a dangling separator ("2," is "2").
    QString Valor() const { return m_valor; }

    QLabel* lblPergunta = nullptr;
    QLineEdit* edtValor = nullptr;
    TTecladoWidget* teclado = nullptr;
    TBlendedBitBtn* sbtOk = nullptr;
    TBlendedBitBtn* sbtCancelar = nullptr;

protected:
    void keyPressEvent(QKeyEvent* evento) override;

private:
    void Confirma();

    QString m_vazio;
    bool m_decimais;
    QString m_valor;
};
