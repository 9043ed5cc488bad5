#include "Wdc00001.h"

namespace Wdc00001 {

#define WDC00001_DEFINE(pacote, nome, tipo) T##nome nome(#nome);
WDC00001_SERVICOS(WDC00001_DEFINE)
#undef WDC00001_DEFINE

void ResetAll()
{
#define WDC00001_LIMPA(pacote, nome, tipo) nome = nullptr;
    WDC00001_SERVICOS(WDC00001_LIMPA)
#undef WDC00001_LIMPA
}

} // namespace Wdc00001
