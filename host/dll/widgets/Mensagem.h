#pragma once
// The suite's touch-sized modal message box. Tests (and hosts without a screen)
// install a handler that answers in its place; no window appears then.
#include <QString>
#include <functional>

#include "dll_widgets_export.h"

class TClientDataSet;

// The sign a box shows. Automatico: a question by its type; a notice is the
// warning the module's failures are shown with, unless the caller says it is
// only information.
enum class TSinalMensagem { Automatico, Informacao, Aviso, Erro };

// What a question's keys do. Automatica: a question in warning style (type 0)
// is Irreversivel, any other is Escolha.
enum class TPerguntaMensagem {
    Automatica,
    Confirmacao, // "Sim" is the default; Escape means "Não"
    Escolha, // the answer is recorded: Escape leaves the question open
    Irreversivel, // "Não" is the default; Escape means "Não"
};

struct MensagemEstilo {
    TSinalMensagem Sinal = TSinalMensagem::Automatico;
    TPerguntaMensagem Pergunta = TPerguntaMensagem::Automatica;
};

struct MensagemArgs {
    QString Texto;
    QString Arg2;
    QString Arg3;
    QString Pergunta; // "S" question, "N" notice
    int Tipo = 3; // 3 notice, 1 question, 0 question in warning style
    QString Arg6;
    QString IdEsquema;
    int Arg8 = 0;
    MensagemEstilo Estilo;
};

using MensagemHandler = std::function<bool(const MensagemArgs&)>;

// Returns true for "yes" on the question types; notices return true.
DLL_WIDGETS_EXPORT bool Mensagem(const QString& texto, const QString& arg2, const QString& arg3,
                                 const QString& pergunta, int tipo, const QString& arg6, const QString& idEsquema,
                                 int arg8, TClientDataSet* dataSet = nullptr, MensagemEstilo estilo = {});

// A notice (message type 3) the operator only acknowledges, with the host's
// arguments for one; Automatico shows it as a warning.
DLL_WIDGETS_EXPORT void Avisa(const QString& texto, TSinalMensagem sinal = TSinalMensagem::Automatico,
                              const QString& idEsquema = QString());

// An empty handler puts the real dialog back.
DLL_WIDGETS_EXPORT void SetMensagemHandler(MensagemHandler handler);

// The sign and keys a box gets once Automatico is settled by the kind and type.
DLL_WIDGETS_EXPORT MensagemEstilo EstiloEfetivo(bool pergunta, int tipo, MensagemEstilo estilo);

// A question (yes or no) rather than a notice.
DLL_WIDGETS_EXPORT bool MensagemEhPergunta(const QString& pergunta, int tipo);

// The text of the last message since the last reset, whether a box showed it
// or a handler took it: what the operator was last told.
DLL_WIDGETS_EXPORT QString UltimaMensagem();
DLL_WIDGETS_EXPORT void LimpaUltimaMensagem();
