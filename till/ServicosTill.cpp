#include "ServicosTill.h"

#include <cstdio>

#include "DisplayCliente.h"
#include "ImpressaoCancelamento.h"
#include "LogsTill.h"
#include "ServicosOperador.h"
#include "Wdc00001.h"
#include "Wdc00002.h"

void InstalaServicosTill()
{
    Wdc00002::VerificaAcesso = VerificaAcessoTill;
    Wdc00002::Observacao = ObservacaoTill;
    Wdc00002::TecladoNumerico = TecladoNumericoTill;
    Wdc00002::LogImpNFiscal = LogImpNFiscalTill;
    Wdc00002::LogControleAcess = LogControleAcessTill;
    Wdc00002::DisparaImprimeCancProduto = DisparaImprimeCancProdutoTill;
    Wdc00002::RelFiscais = RelFiscaisTill;
    Wdc00001::LimpaDisplay = LimpaDisplayTill;
    Wdc00001::DisplayEnviaTexto = DisplayEnviaTextoTill;
}

int ReenviaTiquetesPendentes()
{
    const TPerifericos conf = LePerifericos();
    for (const QString& problema : conf.Problemas)
        std::fprintf(stderr, "%s\n", qPrintable(problema));
    const TResultadoEnvio r = EnviaPendentes(conf);
    for (const QString& linha : r.Relato())
        std::printf("%s\n", qPrintable(linha));
    const int restantes = r.Restantes;
    if (restantes > 0)
        std::fprintf(stderr, "%d tíquete(s) de cancelamento aguardando impressora em %s\n", restantes,
                     qPrintable(PastaPendentes()));
    return restantes;
}
