#pragma once
#include <QtGlobal>
#if defined(TOOLKIT_GUI_LIBRARY)
#define TOOLKIT_GUI_EXPORT Q_DECL_EXPORT
#else
#define TOOLKIT_GUI_EXPORT Q_DECL_IMPORT
#endif
