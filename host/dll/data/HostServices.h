#pragma once
// Small services of the shared package about the host program and the screen.
#include <QString>

#include "dll_export.h"

// The folder of the host program's executable, without a trailing separator.
// A non-empty override (tests, tools) replaces it.
DLL_EXPORT QString HostFolder();
DLL_EXPORT void SetHostFolderOverride(const QString& folder);

// The footer caption of a screen.
DLL_EXPORT QString MontaRodapeGeral(bool showFiscalMenu, const QString& screenCode, const QString& flag);
