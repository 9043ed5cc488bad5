#include "ModuleVariables.h"

namespace Cli_kvp00917 {
TfrmCancelaProd* frmCancelaProd = nullptr;
bool boIdCriado = false;
bool boCancelTodos = false;
double doTotRestante = 0;
} // namespace Cli_kvp00917
