#pragma once
// The module variables of the cancellation screen, shared by the window and
// the package's entry. They live on the host's user-interface thread; nothing
// here is locked.
#include <QString>
#include <QtGlobal>

class TfrmCancelaProd;

namespace Cli_kvp00917 {

// The window is compiled into the package itself, which exports these.
extern Q_DECL_EXPORT TfrmCancelaProd* frmCancelaProd; // the one window of the current call
extern Q_DECL_EXPORT bool boIdCriado; // a created and initialised window exists
extern Q_DECL_EXPORT bool boCancelTodos; // a cancel-all delivery run is under way
extern Q_DECL_EXPORT double doTotRestante; // the order's balance after advance payments

// The unit a failed service call is reported under by the result checks.
inline const QString kUnidade = QStringLiteral("Cli_Kvp00917");

} // namespace Cli_kvp00917

using Cli_kvp00917::boCancelTodos;
using Cli_kvp00917::boIdCriado;
using Cli_kvp00917::doTotRestante;
using Cli_kvp00917::frmCancelaProd;
using Cli_kvp00917::kUnidade;
