#pragma once
// Operator services of the host's sibling package: access check, reason dialog,
// numeric keypad, logs, ticket printing and the fiscal menu.
#include <QString>
#include <QVariantList>

#include "HostProc.h"

#if defined(WDC00002_LIBRARY)
#define WDC00002_EXPORT Q_DECL_EXPORT
#else
#define WDC00002_EXPORT Q_DECL_IMPORT
#endif

namespace Wdc00002 {

// access code; operator code; authoriser (written back) -> allowed
using TVerificaAcesso = HostProc<bool(int, const QString&, QString&)>;
// 5-element list ('S', 'CP', product code, product name, ''); 10-element result
// array (written back); reason text (written back)
using TObservacao = HostProc<void(const QVariantList&, QVariantList&, QString&)>;
// value (written back); title; prompt; empty-entry message; 10; 0; decimals; 0; 0; 0 -> confirmed
using TTecladoNumerico
    = HostProc<bool(QString&, const QString&, const QString&, const QString&, int, int, bool, int, int, int)>;
// one-element list with the log line; the command's 10-element array
using TLogImpNFiscal = HostProc<void(const QVariantList&, QVariantList&)>;
// branch; till; action; operator code; operator name; authoriser; reason title;
// detail; sale; item's tab; tab as shown; table; 0; 0
using TLogControleAcess = HostProc<void(const QString&, const QString&, const QString&, const QString&, const QString&,
                                        const QString&, const QString&, const QString&, const QString&, const QString&,
                                        const QString&, const QString&, int, int)>;
// 18-element list; the command's 10-element array
using TDisparaImprimeCancProduto = HostProc<void(const QVariantList&, QVariantList&)>;
using TRelFiscais = HostProc<void()>;

extern WDC00002_EXPORT TVerificaAcesso VerificaAcesso;
extern WDC00002_EXPORT TObservacao Observacao;
extern WDC00002_EXPORT TTecladoNumerico TecladoNumerico;
extern WDC00002_EXPORT TLogImpNFiscal LogImpNFiscal;
extern WDC00002_EXPORT TLogControleAcess LogControleAcess;
extern WDC00002_EXPORT TDisparaImprimeCancProduto DisparaImprimeCancProduto;
extern WDC00002_EXPORT TRelFiscais RelFiscais;

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
