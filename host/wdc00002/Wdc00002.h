#pragma once
// Operator services of the host's sibling package: access check, reason dialog,
// numeric keypad, logs, ticket printing and the fiscal menu. Each signature,
// the list of services and the positions of the arrays they pass are written
// here once: the package, the till, the scripted host and the tests all build
// on them, so that a new service or a changed argument is one edit.
#include <QString>
#include <QVariantList>

#include "HostProc.h"

#if defined(WDC00002_LIBRARY)
#define WDC00002_EXPORT Q_DECL_EXPORT
#else
#define WDC00002_EXPORT Q_DECL_IMPORT
#endif

namespace Wdc00002 {

// The signature of each service: what the package passes and what comes back.
// An implementation is declared with it (FLogControleAcess LogControleAcessTill;).

// -> allowed; writes back who authorised
using FVerificaAcesso = bool(int codigo, const QString& operador, QString& autorizador);
// the list of DadosObservacao; the array of ResultadoObservacao (written back);
// the reason text, written back ("" or "erro": given up)
using FObservacao = void(const QVariantList& dados, QVariantList& resultado, QString& texto);
// value (written back, in the locale's decimal format); title; prompt;
// empty-entry message; 10; 0; decimals allowed; 0; 0; 0 -> confirmed
using FTecladoNumerico = bool(QString& valor, const QString& titulo, const QString& pergunta, const QString& vazio,
                              int tamanho, int, bool decimais, int, int, int);
// one-element list with the log line; the command's array (Troca)
using FLogImpNFiscal = void(const QVariantList& linha, QVariantList& troca);
// the till's access log: 0 and 0 close every call
using FLogControleAcess = void(const QString& filial, const QString& caixa, const QString& acao,
                               const QString& operador, const QString& nome, const QString& autorizador,
                               const QString& titulo, const QString& detalhe, const QString& venda,
                               const QString& comanda, const QString& dsComanda, const QString& mesa, int, int);
// the notice (NotaCancelamento); the command's array (Troca)
using FDisparaImprimeCancProduto = void(const QVariantList& nota, QVariantList& troca);
using FRelFiscais = void();

// Every service once, with what it is to a host that scripts the operator:
//   Pergunta - asks the operator and answers the package (answered from the script);
//   Dialogo  - a dialog of the till's that answers nothing (only recorded);
//   Saida    - an output of the till: log, ticket, display (recorded, and done
//              by the till when a run uses the till's outputs).
// X(package, service, kind); the service's signature is F<service>.
#define WDC00002_SERVICOS(X)                                                                                           \
    X(Wdc00002, VerificaAcesso, Pergunta)                                                                              \
    X(Wdc00002, Observacao, Pergunta)                                                                                  \
    X(Wdc00002, TecladoNumerico, Pergunta)                                                                             \
    X(Wdc00002, LogImpNFiscal, Saida)                                                                                  \
    X(Wdc00002, LogControleAcess, Saida)                                                                               \
    X(Wdc00002, DisparaImprimeCancProduto, Saida)                                                                      \
    X(Wdc00002, RelFiscais, Dialogo)

// The procedure variable of each service: TVerificaAcesso VerificaAcesso, ...
#define WDC00002_DECLARA(pacote, nome, tipo)                                                                           \
    using T##nome = HostProc<F##nome>;                                                                                 \
    extern WDC00002_EXPORT T##nome nome;
WDC00002_SERVICOS(WDC00002_DECLARA)
#undef WDC00002_DECLARA

// Clears every procedure variable (tests start from a known state).
WDC00002_EXPORT void ResetAll();

// The positions of the arrays the services pass, each with its size.

// Observacao's first argument: 'S', 'CP', the product, an empty text.
namespace DadosObservacao {
enum : int { Tipo, Origem, CdProduto, NmProduto, Vazio4, Tamanho };
} // namespace DadosObservacao

// Observacao's second argument: the reason's group goes to the first slot.
namespace ResultadoObservacao {
enum : int { Grupo, Tamanho = 10 };
} // namespace ResultadoObservacao

// The command's array, handed to LogImpNFiscal and DisparaImprimeCancProduto
// empty; the package never reads it back.
namespace Troca {
enum : int { Tamanho = 10 };
} // namespace Troca

// DisparaImprimeCancProduto's first argument: the order's values, the ticket
// rows of one dispatch and the notice's labels.
namespace NotaCancelamento {
enum : int {
    Falso, // always false
    ModeloImpressora, // the printer model of the dispatch
    ComandaMostrada, // the tab as shown (the tab's number outside tab mode)
    Mesa, // empty: no table
    Garcom,
    GrupoMotivo, // of the item cancelled last
    Motivo, // one blank, then the reason of the item cancelled last
    Vazio7,
    Pacote, // the data packet of the ticket rows
    Titulo,
    RotCupom,
    RotMotivo,
    RotGarcom,
    RotPedido,
    RotMesa,
    Vazio15,
    NrComanda, // of the item cancelled last
    DsComanda,
    Tamanho
};
} // namespace NotaCancelamento

} // namespace Wdc00002
