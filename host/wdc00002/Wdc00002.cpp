#include "Wdc00002.h"

namespace Wdc00002 {

#define WDC00002_DEFINE(pacote, nome, tipo) T##nome nome(#nome);
WDC00002_SERVICOS(WDC00002_DEFINE)
#undef WDC00002_DEFINE

void ResetAll()
{
#define WDC00002_LIMPA(pacote, nome, tipo) nome = nullptr;
    WDC00002_SERVICOS(WDC00002_LIMPA)
#undef WDC00002_LIMPA
}

} // namespace Wdc00002
