#pragma once
// Small services of the shared package about the host program and the screen.
#include <QString>

#include "dll_export.h"

// The installation's folder, without a trailing separator: where the
// terminal's files, kvp.ini, the logs, the spool of tickets and the pictures
// are. A non-empty override (tests, tools) replaces it; else the environment
// variable KVP_PASTA; else, for an installed program (bin/ next to
// lib/kvp/), the "pasta" setting of the system's kvp.ini or the user's
// ~/.local/share/kvp (created when missing); else the program's own folder,
// as in a build tree.
DLL_EXPORT QString HostFolder();
DLL_EXPORT void SetHostFolderOverride(const QString& folder);

// The folder of the host program's executable.
DLL_EXPORT QString ProgramFolder();
// Where the cancellation package is loaded from: lib/kvp of an installed
// program, else the program's folder.
DLL_EXPORT QString PackageFolder();
// The system-wide kvp.ini of an installed program (/etc/kvp/kvp.ini for one
// installed under /usr, PREFIX/etc/kvp/kvp.ini otherwise); empty in a build tree.
DLL_EXPORT QString SystemIniPath();

// A setting of an ini file such as kvp.ini ("" when absent): key=value under
// [section], or under any section when section is empty.
DLL_EXPORT QString IniFileValue(const QString& path, const QString& section, const QString& key);

// The footer caption of a screen.
DLL_EXPORT QString MontaRodapeGeral(bool showFiscalMenu, const QString& screenCode, const QString& flag);
