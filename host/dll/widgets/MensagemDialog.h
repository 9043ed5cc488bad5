#pragma once
// The touch-sized message box behind Mensagem: large text, large buttons,
// "Sim"/"Não" for a question and "OK" for a notice. The button Enter presses
// is ringed, so a keyboard user sees what Enter will answer.
#include <QDialog>

#include "Mensagem.h"
#include "dll_widgets_export.h"

class QLabel;
class TBlendedBitBtn;

class DLL_WIDGETS_EXPORT TMensagemDialog : public QDialog {
    Q_OBJECT
public:
    // A notice (with the sign given) or a question (keys as estilo.Pergunta).
    TMensagemDialog(const QString& text, bool pergunta, MensagemEstilo estilo, QWidget* parent = nullptr);

    // True: "Sim" (question) or "OK" (notice).
    bool Answer() const { return m_answer; }
    // The button Enter presses.
    TBlendedBitBtn* Padrao() const { return m_padrao; }
    // The sign shown: Automatico only on a plain question ("?").
    TSinalMensagem Sinal() const { return m_sinal; }

    QLabel* lblTexto = nullptr;
    TBlendedBitBtn* sbtSim = nullptr; // "OK" on a notice
    TBlendedBitBtn* sbtNao = nullptr; // absent on a notice

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Responde(bool answer);

    bool m_pergunta;
    TPerguntaMensagem m_teclas = TPerguntaMensagem::Escolha;
    TSinalMensagem m_sinal = TSinalMensagem::Automatico;
    TBlendedBitBtn* m_padrao = nullptr;
    bool m_answer = false;
};
