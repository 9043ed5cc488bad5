#include "Wdc00002.h"

namespace Wdc00002 {

TVerificaAcesso VerificaAcesso("VerificaAcesso");
TObservacao Observacao("Observacao");
TTecladoNumerico TecladoNumerico("TecladoNumerico");
TLogImpNFiscal LogImpNFiscal("LogImpNFiscal");
TLogControleAcess LogControleAcess("LogControleAcess");
TDisparaImprimeCancProduto DisparaImprimeCancProduto("DisparaImprimeCancProduto");
TRelFiscais RelFiscais("RelFiscais");

void ResetAll()
{
    VerificaAcesso = nullptr;
    Observacao = nullptr;
    TecladoNumerico = nullptr;
    LogImpNFiscal = nullptr;
    LogControleAcess = nullptr;
    DisparaImprimeCancProduto = nullptr;
    RelFiscais = nullptr;
}

} // namespace Wdc00002
