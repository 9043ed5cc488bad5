#pragma once
// The touch-sized message box behind Mensagem: large text, large buttons,
// "Sim"/"Não" for a question and "OK" for a notice.
#include <QDialog>

#include "dll_export.h"

class QLabel;
class TBlendedBitBtn;

class DLL_EXPORT TMensagemDialog : public QDialog {
    Q_OBJECT
public:
    enum class TKind { Notice, Question, Warning };

    TMensagemDialog(const QString& text, TKind kind, QWidget* parent = nullptr);

    // True: "Sim" (question) or "OK" (notice).
    bool Answer() const { return m_answer; }

    QLabel* lblTexto = nullptr;
    TBlendedBitBtn* sbtSim = nullptr; // "OK" on a notice
    TBlendedBitBtn* sbtNao = nullptr; // absent on a notice

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Responde(bool answer);

    TKind m_kind;
    bool m_answer = false;
};
