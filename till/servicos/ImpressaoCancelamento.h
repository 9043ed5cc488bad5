#pragma once
// The till's ticket print service, an outbox: each printer's cancellation
// ticket is first written to the spool of tickets to send (on disk before the
// call returns) and a sender of the till's own, on a thread of its own, takes
// them from there to their printer, else to its backup, in the order they were
// written. What it cannot deliver stays in the spool for the next try (every
// 30 seconds, at "Tentar agora", at the next start of the till, or with
// till --retry-spool). The cancellation never waits for a printer.
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "Perifericos.h"
#include "Wdc00002.h"

QString PastaPendentes();

// Spools the tickets and wakes the sender; a ticket that cannot be spooled is
// sent at once, as the only way not to lose it.
void ImprimeCancelamento(const QVariantList& dados, const TPerifericos& conf);
Wdc00002::FDisparaImprimeCancProduto DisparaImprimeCancProdutoTill;

// A ticket in the spool: its printer, what it withdraws, when it was kept.
struct TTiquetePendente {
    QString Arquivo;
    QString Endereco;
    QString Pedido; // the order number as the ticket prints it
    QString Mesa; // empty: no table
    QStringList Produtos; // "2 x FEIJOADA"
    QDateTime Guardado;
    bool Enviando = false; // a sender has it in hand now
};
// The tickets waiting in the spool, oldest first, also those being sent now.
QList<TTiquetePendente> ListaPendentes();

// One ticket a pass tried (or left, behind an earlier one of its printer).
struct TTentativaEnvio {
    QString Impressora; // by its name
    QString Endereco;
    QString Pedido;
    bool Enviado = false;
    QString Reserva; // the backup that took it, when the printer did not
    QString Erro; // why it still waits
};

// What one pass over the spool did, in the order it went.
struct TResultadoEnvio {
    quint64 Atende = 0; // the sender's passes asked for (Acorda) that this one answers
    int Enviados = 0;
    int Restantes = 0;
    QList<TTentativaEnvio> Tentativas;

    // A line per ticket for the operator: sent where, or waiting and why.
    QStringList Relato() const;
};

// One pass over the spool: each ticket to its printer, else its backup. Once
// a printer failed, its later tickets wait for the next pass, so that they
// never arrive before an earlier one. parar, when given, is asked before each
// ticket: true leaves the rest for the next time.
TResultadoEnvio EnviaPendentes(const TPerifericos& conf, const std::function<bool()>& parar = {});
// The same, answering how many tickets still wait.
int ReenviaPendentes(const TPerifericos& conf, const std::function<bool()>& parar = {});

// The sender of the till: one worker thread, started on first use, that goes
// through the spool when woken and again every 30 seconds while a ticket waits.
// The operator is told once per run of each printer that did not answer (one
// message for all that a pass found).
class TRemetenteTiquetes : public QObject {
    Q_OBJECT
public:
    static TRemetenteTiquetes& Instancia();
    ~TRemetenteTiquetes() override;

    // A pass as soon as the one in course ends; its number, which the
    // Atende of that pass's result reaches.
    quint64 Acorda();
    // Until a pass that began after this call has ended (true), or ms passed.
    bool Aguarda(int ms);
    // Stops after the ticket in hand; what is left waits for the next start.
    void Encerra();

signals:
    // After each pass, from the sender's thread.
    void Passou(const TResultadoEnvio& resultado);

private:
    TRemetenteTiquetes() = default;
    void Trabalha();

    std::mutex m_trava;
    std::condition_variable m_acordar;
    std::condition_variable m_passou;
    std::thread m_thread;
    bool m_parar = false;
    quint64 m_pedidos = 0; // passes asked for
    quint64 m_feitos = 0; // of those, how many a finished pass covered
};

// Stops the sender (see TRemetenteTiquetes::Encerra).
void EncerraEnvioTiquetes();
