#pragma once
// Customer display services of the host's sibling package.
#include <QString>

#include "HostProc.h"

#if defined(WDC00001_LIBRARY)
#define WDC00001_EXPORT Q_DECL_EXPORT
#else
#define WDC00001_EXPORT Q_DECL_IMPORT
#endif

namespace Wdc00001 {

using TLimpaDisplay = HostProc<void()>;
// text; line; column; 0; 0
using TDisplayEnviaTexto = HostProc<void(const QString&, int, int, int, int)>;

extern WDC00001_EXPORT TLimpaDisplay LimpaDisplay;
extern WDC00001_EXPORT TDisplayEnviaTexto DisplayEnviaTexto;

WDC00001_EXPORT void ResetAll();

} // namespace Wdc00001
