#pragma once
// The working values of one run of the cancellation command: they start empty
// at every press of the button and end with the run.
#include <QList>
#include <QSet>
#include <QString>
#include <QVariantList>

#include "LinhaItem.h"
#include "Wdc00002.h"

// A row the run cancelled, with what its production ticket needs.
struct TItemCancelado {
    enum class TCaminho { DivideConta, Combo, Normal };
    TCaminho Caminho = TCaminho::Normal;
    TLinhaItem Linha;
    double QtdeCanc = 0; // the quantity typed for a partial cancellation; 0: the whole row
    QString CdGrpOcor;
    QString TxMotivo;
    QString NrComandaItem; // comanda of the marked row that started it, for the notice
};

struct TValoresCancelamento {
    QString stFiltroSalvo; // the list's filter when the run began; empty when unfiltered
    bool boPerguntaProduzido = false;
    QString stProduzido; // "S" when the operator said the product was produced
    int inCodAcesso = 0; // access code of the whole run
    QString stSupervisor; // who authorised it
    double doTotalMarcado = 0;
    QString stCdGrpOcor; // reason of the current item (kept when none is asked)
    QString stTxMotivo;
    QString stNrComandaItem; // comanda of the marked row that started the current item
    double doQtdeCanc = 0; // quantity typed for the current item; 0 when none
    QVariantList vaTroca = NovaTroca();

    // Rows already written in this run, by TLinhaItem::Chave: a row reached
    // again (a group member further down the list) is passed over.
    QSet<QString> Tratados;
    // Every row cancelled, in order; the last one's comanda and reason go on
    // the notice, also when the run stops early.
    QList<TItemCancelado> Cancelados;

    static QVariantList NovaTroca() { return QVariantList(Wdc00002::Troca::Tamanho); }
};

// The item list while a run walks it: the marked rows that are not cancelled.
inline const QString kFiltroMarcados = QStringLiteral("IDSTPRCOMVEN <> '6'AND IDCHECK = 'C'");
