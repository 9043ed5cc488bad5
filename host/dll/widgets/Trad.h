#pragma once
// The suite's translation of a form's captions.
#include "dll_widgets_export.h"

class QWidget;

// Translates the visible captions of a form in place (no-op without a translator).
DLL_WIDGETS_EXPORT void Trad(QWidget* form);
