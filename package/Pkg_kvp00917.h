#pragma once
// The package frame: the table of the package's units with their start-up and
// shut-down sections, run by the host's package loader through Initialize and
// Finalize.
#include "pkg_export.h"

extern "C" {

struct PackageUnitEntry {
    const char* Name;
    void (*Init)(void); // start-up section; null when the unit has none
    void (*FInit)(void); // shut-down section; null when the unit has none
};

struct PackageInfoTable {
    int UnitCount;
    const PackageUnitEntry* Units;
};

// Runs the start-up sections in table order; a second call does nothing.
PKG_EXPORT void Initialize(void);
// Runs the shut-down sections of the started units in reverse order.
PKG_EXPORT void Finalize(void);
PKG_EXPORT const PackageInfoTable* GetPackageInfoTable(void);
}
