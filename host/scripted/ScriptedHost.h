#pragma once
// The host's operator services, customer display and message box answered from
// a script instead of dialogs. Every call is recorded in order with its
// arguments; answers come from queues (the front answer is used and removed),
// else from the defaults below, and the call's record says when a default was
// used. The tests' fake host and the till's scenario runs are both this class.
// One at a time: the constructor installs it in every procedure variable of
// Wdc00002 and Wdc00001 and as the message handler; the destructor puts them
// all back to unset.
#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>
#include <functional>

struct MensagemArgs;

class ScriptedHost {
public:
    struct Call {
        QString Service; // "VerificaAcesso", "Mensagem", "RelFiscais", ...
        QVariantList Args; // in the service's argument order, as passed in
        QMap<int, QVariant> Devolvidos; // written-back arguments by position: their values on return
        QVariant Resultado; // what the service returned; invalid when it returns nothing
        bool Padrao = false; // answered by the default: its queue was empty
    };

    struct Acesso {
        bool Permitido = true;
        QString Autorizador; // empty: the operator code passed in
    };
    struct Motivo {
        QString Grupo; // slot 0 of the result array
        QString Texto; // the reason text ("" or "erro": the operator gave up)
    };
    struct Teclado {
        bool Confirmado = false;
        QString Valor;
    };

    ScriptedHost();
    virtual ~ScriptedHost();
    ScriptedHost(const ScriptedHost&) = delete;
    ScriptedHost& operator=(const ScriptedHost&) = delete;

    static ScriptedHost* Current();

    // --- what happened ---
    QList<Call> Calls;
    QList<Call> CallsOf(const QString& service) const;
    int Count(const QString& service) const;
    QStringList Mensagens() const; // the texts of every Mensagem, in order

    // --- scripted answers ---
    QList<Acesso> AcessoRespostas;
    Acesso AcessoPadrao; // allowed, authorised by the operator
    QList<Motivo> MotivoRespostas;
    Motivo MotivoPadrao; // no reason: given up
    QList<Teclado> TecladoRespostas;
    Teclado TecladoPadrao; // gives up: a keypad never confirms an empty entry
    QList<bool> MensagemRespostas; // the questions' answers; a notice takes none
    bool MensagemPadrao = true;

    // Runs after a call was answered and recorded, before it returns (a test
    // can close a window, raise an error to simulate a failing service, ...).
    std::function<void(const Call&)> OnCall;

    // Used by the service functions.
    void Record(Call call);
    Acesso NextAcesso(bool& padrao);
    Motivo NextMotivo(bool& padrao);
    Teclado NextTeclado(bool& padrao);
    bool NextMensagem(const MensagemArgs& args);
};
