#pragma once
// Customer display services of the host's sibling package: each signature and
// the list of services once, as in Wdc00002.h.
#include <QString>

#include "HostProc.h"

#if defined(WDC00001_LIBRARY)
#define WDC00001_EXPORT Q_DECL_EXPORT
#else
#define WDC00001_EXPORT Q_DECL_IMPORT
#endif

namespace Wdc00001 {

using FLimpaDisplay = void();
// text; line; column (both 1-based); 0; 0
using FDisplayEnviaTexto = void(const QString& texto, int linha, int coluna, int, int);

// X(package, service, kind), the kinds of WDC00002_SERVICOS.
#define WDC00001_SERVICOS(X)                                                                                           \
    X(Wdc00001, LimpaDisplay, Saida)                                                                                   \
    X(Wdc00001, DisplayEnviaTexto, Saida)

// The procedure variable of each service: TLimpaDisplay LimpaDisplay, ...
#define WDC00001_DECLARA(pacote, nome, tipo)                                                                           \
    using T##nome = HostProc<F##nome>;                                                                                 \
    extern WDC00001_EXPORT T##nome nome;
WDC00001_SERVICOS(WDC00001_DECLARA)
#undef WDC00001_DECLARA

WDC00001_EXPORT void ResetAll();

} // namespace Wdc00001
