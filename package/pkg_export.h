#pragma once
#include <QtGlobal>
// The client unit is compiled into the package itself, so everything it
// declares is exported from there.
#define PKG_EXPORT Q_DECL_EXPORT
