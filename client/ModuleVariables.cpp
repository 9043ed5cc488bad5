#include "ModuleVariables.h"

namespace Cli_kvp00917 {
TfrmCancelaProd* frmCancelaProd = nullptr;
bool boIdCriado = false;
} // namespace Cli_kvp00917
