#pragma once
// Fakes of the host's services for tests: every operator service of Wdc00002,
// the customer display of Wdc00001 and the shared message box. Each call is
// recorded with its arguments, in order; answers come from queues the test
// fills (the front answer is used and removed), else from the defaults below.
// One FakeHost at a time: the constructor installs it, the destructor puts
// every procedure variable and the message handler back to unset.
#include <QList>
#include <QString>
#include <QVariant>
#include <functional>

struct MensagemArgs;

class FakeHost {
public:
    struct Call {
        QString Service;      // "VerificaAcesso", "Mensagem", "RelFiscais", ...
        QVariantList Args;    // in the service's argument order; written-back values as passed in
    };

    struct Acesso {
        bool Permitido = true;
        QString Autorizador;  // empty: the operator code passed in
    };
    struct Motivo {
        QString Grupo;        // slot 0 of the result array
        QString Texto;        // the reason text ("" or "erro": the operator gave up)
    };
    struct Teclado {
        bool Confirmado = false;
        QString Valor;
    };

    FakeHost();
    ~FakeHost();
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    static FakeHost* Current();

    // --- what happened ---
    QList<Call> Calls;
    QList<Call> CallsOf(const QString& service) const;
    int Count(const QString& service) const;
    QStringList Mensagens() const;   // the texts of every Mensagem, in order

    // --- scripted answers ---
    QList<Acesso> AcessoRespostas;
    Acesso AcessoPadrao;
    QList<Motivo> MotivoRespostas;
    Motivo MotivoPadrao{QStringLiteral("1"), QStringLiteral("Desistência do cliente")};
    QList<Teclado> TecladoRespostas;
    Teclado TecladoPadrao;          // gives up
    QList<bool> MensagemRespostas;
    bool MensagemPadrao = true;

    // Runs after a call was recorded and before it returns (a test can close a
    // window, raise an error to simulate a failing service, ...).
    std::function<void(const Call&)> OnCall;

    // Used by the fake functions.
    void Record(const QString& service, const QVariantList& args);
    Acesso NextAcesso();
    Motivo NextMotivo();
    Teclado NextTeclado();
    bool NextMensagem(const MensagemArgs& args);
};
