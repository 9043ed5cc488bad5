#pragma once
// The module variables the cancellation command shares with the window and
// the package's entry. They live on the host's user-interface thread; nothing
// here is locked.
#include <QString>
#include <QtGlobal>

namespace Cli_kvp00917 {

// The command is compiled into the package itself, which exports these.
extern Q_DECL_EXPORT bool boCancelTodos; // a cancel-all delivery run is under way
extern Q_DECL_EXPORT double doTotRestante; // the order's balance after advance payments

// The unit a failed service call is reported under by the result checks.
inline const QString kUnidade = QStringLiteral("Cli_Kvp00917");

} // namespace Cli_kvp00917

using Cli_kvp00917::boCancelTodos;
using Cli_kvp00917::doTotRestante;
using Cli_kvp00917::kUnidade;
