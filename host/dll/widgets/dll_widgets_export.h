#pragma once
// The widget part of the shared package exports its own symbols: a build
// that sets DLL_LIBRARY for it would also mark the data part's as its own.
#include <QtGlobal>
#if defined(DLL_WIDGETS_LIBRARY)
#define DLL_WIDGETS_EXPORT Q_DECL_EXPORT
#else
#define DLL_WIDGETS_EXPORT Q_DECL_IMPORT
#endif
