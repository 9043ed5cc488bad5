#pragma once
// The values of one item row that the cancellation command works with, taken
// from the current row of the item list or of a group's copy of it, so that
// moving that list's cursor cannot change them under the command.
#include <QString>

class TClientDataSet;

struct TLinhaItem {
    QString NrVendaRest;
    QString NrComanda;
    QString NrProdComVen;
    QString CdProduto;
    QString CdArvProd;
    QString NmProduto;
    double QtProdComVen = 0;
    QString IdStPrComVen;
    double VrAcrComVen = 0;
    QString NrSeqBeneConsIt;
    QString DsComandaOri;
    QString NrComandaOri;
    QString NrProdComOri;
    QString IdDivideConta;
    QString NrSeqProdCom;
    QString IdPesaProd;
    QString CdProdPromocao;

    static TLinhaItem De(const TClientDataSet& dataSet);

    // Item numbers restart in every comanda: the comanda and the number name a row.
    QString Chave() const { return NrComanda + QLatin1Char('/') + NrProdComVen; }
    QString ChaveOrigem() const { return NrComandaOri + QLatin1Char('/') + NrProdComOri; }
    // Taken from another comanda: its writes are repeated on the origin row.
    bool TemOrigem() const { return !DsComandaOri.isEmpty(); }
};
