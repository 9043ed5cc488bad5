#pragma once
// The module variables of the cancellation screen, shared by the window and
// the package's entry (the command's own are in VariaveisModulo.h). They live
// on the host's user-interface thread; nothing here is locked.
#include <QtGlobal>

#include "VariaveisModulo.h"

class TfrmCancelaProd;

namespace Cli_kvp00917 {

// The window is compiled into the package itself, which exports these.
extern Q_DECL_EXPORT TfrmCancelaProd* frmCancelaProd; // the one window of the current call
extern Q_DECL_EXPORT bool boIdCriado; // a created and initialised window exists

} // namespace Cli_kvp00917

using Cli_kvp00917::boIdCriado;
using Cli_kvp00917::frmCancelaProd;
