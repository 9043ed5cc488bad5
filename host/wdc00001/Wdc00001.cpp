#include "Wdc00001.h"

namespace Wdc00001 {

TLimpaDisplay LimpaDisplay("LimpaDisplay");
TDisplayEnviaTexto DisplayEnviaTexto("DisplayEnviaTexto");

void ResetAll()
{
    LimpaDisplay = nullptr;
    DisplayEnviaTexto = nullptr;
}

} // namespace Wdc00001
