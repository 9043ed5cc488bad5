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
    // Each service's till function is named after it: VerificaAcessoTill, ...
#define KVP_INSTALA(pacote, nome, tipo) pacote::nome = nome##Till;
    WDC00002_SERVICOS(KVP_INSTALA)
    WDC00001_SERVICOS(KVP_INSTALA)
#undef KVP_INSTALA
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
