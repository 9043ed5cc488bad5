#pragma once
// The client unit: the package's entry (its module variables in
// ModuleVariables.h). The window, its data module and these variables live on
// the host's user-interface thread; nothing here is locked.
#include <QString>

#include "ModuleVariables.h"
#include "pkg_export.h"

namespace Cli_kvp00917 {

// Runs one cancellation for one order: creates the window, initialises it from
// the four texts, shows it modally and frees window and data module on every
// exit. Errors pass to the caller unchanged (a silent abort as EAbort).
PKG_EXPORT void CancelaProduto(const QString& nrComanda, const QString& dsComanda, const QString& modo,
                               const QString& nrMesa);

// A call whose last run of the command was refused or stopped inside the
// window ends as a silent abort too; this is the notice that ended that run
// (empty for other calls).
PKG_EXPORT QString MensagemFimChamada();

// The unit's start-up and shut-down sections (run by Initialize / Finalize).
void Inicializacao();
void Finalizacao();

} // namespace Cli_kvp00917

// The exported entry for hosts in any language (see kvp00917.h). After a
// failed call CancelaProdutoErro() gives the error text; it is empty after a
// success and after a silent abort, which CancelaProdutoFim() tells apart.
#define KVP00917_ENTRY PKG_EXPORT
#include "kvp00917.h"
