#include "VariaveisModulo.h"

namespace Cli_kvp00917 {
bool boCancelTodos = false;
double doTotRestante = 0;
} // namespace Cli_kvp00917
