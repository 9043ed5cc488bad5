#pragma once
// The on-screen numeric keys of the till's dialogs: 0 to 9, the decimal
// separator (only when decimals are allowed), backspace and clear. They type
// into the line edit last touched or focused among those given; the edit's
// validator decides what it takes.
#include <QList>
#include <QWidget>

class QLineEdit;
class TBlendedBitBtn;

class TTecladoWidget : public QWidget {
    Q_OBJECT
public:
    explicit TTecladoWidget(QWidget* parent = nullptr);

    // The edits the keys may type into; the first gets the keyboard focus and
    // is the one typed into until the operator touches another.
    void SetAlvos(const QList<QLineEdit*>& alvos);
    QLineEdit* Alvo() const { return m_alvo; }
    // Shows the separator key (the locale's decimal separator).
    void SetDecimais(bool decimais);

    TBlendedBitBtn* sbtTecla[10] = {};
    TBlendedBitBtn* sbtVirgula = nullptr;
    TBlendedBitBtn* sbtApaga = nullptr;
    TBlendedBitBtn* sbtLimpa = nullptr;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void Digita(const QString& texto);

    QList<QLineEdit*> m_alvos;
    QLineEdit* m_alvo = nullptr;
};
