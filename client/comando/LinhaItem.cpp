#include "LinhaItem.h"

#include "ClientDataSet.h"

TLinhaItem TLinhaItem::De(const TClientDataSet& ds)
{
    const auto texto = [&ds](const char* campo) { return ds.FieldByName(QLatin1String(campo))->AsString(); };
    const auto numero = [&ds](const char* campo) { return ds.FieldByName(QLatin1String(campo))->AsFloat(); };
    TLinhaItem l;
    l.NrVendaRest = texto("NRVENDAREST");
    l.NrComanda = texto("NRCOMANDA");
    l.NrProdComVen = texto("NRPRODCOMVEN");
    l.CdProduto = texto("CDPRODUTO");
    l.CdArvProd = texto("CDARVPROD");
    l.NmProduto = texto("NMPRODUTO");
    l.QtProdComVen = numero("QTPRODCOMVEN");
    l.IdStPrComVen = texto("IDSTPRCOMVEN");
    l.VrAcrComVen = numero("VRACRCOMVEN");
    l.NrSeqBeneConsIt = texto("NRSEQBENECONSIT");
    l.DsComandaOri = texto("DSCOMANDAORI");
    l.NrComandaOri = texto("NRCOMANDAORI");
    l.NrProdComOri = texto("NRPRODCOMORI");
    l.IdDivideConta = texto("IDDIVIDECONTA");
    l.NrSeqProdCom = texto("NRSEQPRODCOM");
    l.IdPesaProd = texto("IDPESAPROD");
    l.CdProdPromocao = texto("CDPRODPROMOCAO");
    return l;
}
