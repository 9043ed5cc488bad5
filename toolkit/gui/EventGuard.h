#pragma once
// Runs an event handler the way the form toolkit's own event loop would: a
// silent abort is dropped, any other exception reaches the application's
// default handling (its message shown with Mensagem, type 3). Nothing unwinds
// through Qt's event loop.
#include <functional>

#include "toolkit_gui_export.h"

class QString;

// Where the message of an unhandled exception goes; the package sets it to
// the shared message box. Without one the text goes to qWarning.
TOOLKIT_GUI_EXPORT void SetDefaultExceptionHandler(std::function<void(const QString& message)> handler);

TOOLKIT_GUI_EXPORT void Guarded(const std::function<void()>& handler);
