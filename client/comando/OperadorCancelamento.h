#pragma once
// What the cancellation command asks of the operator and shows to them. The
// window answers with the suite's message box; a cancel-all call, which shows
// no window, answers without one.
#include <QString>

class TOperadorCancelamento {
public:
    // The three questions of a run; each has its own keys on the box.
    enum class TPergunta {
        Produzido, // "O produto foi produzido?": the answer is recorded
        Confirmacao, // the run as a whole
        Grupo, // every product of a split-bill or combo group goes with the one marked
    };

    virtual ~TOperadorCancelamento() = default;

    // True for "Sim".
    virtual bool Pergunta(TPergunta qual, const QString& texto, const QString& idEsquema) = 0;
    // A notice the operator only acknowledges.
    virtual void Avisa(const QString& texto, const QString& idEsquema) = 0;
};
