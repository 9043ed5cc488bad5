#pragma once
// Checks of server results: a string result is the server's failure text.
#include <QString>
#include <QVariant>

#include "dll_export.h"

// Returns the result unchanged unless it is a failure text; then raises an
// Exception carrying the text, with the function tag and the context.
DLL_EXPORT QVariant MensagemMetodo(const QVariant& result, bool raise, int flags, const QString& tag,
                                   const QString& unitName, const QString& context, const QString& idEsquema);

// For writes: an empty (invalid) or Boolean-true result is success; a string is
// the failure text and raises.
DLL_EXPORT QVariant CheckResultServ(const QVariant& result, bool raise, int flags);
