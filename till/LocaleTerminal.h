#pragma once
// The terminal's language for dates and numbers: kvp.ini, [Terminal]
// Locale=pt_BR (the default), whatever the machine's own setting. It becomes
// the default locale of the process before the package is loaded, so the
// package, the till's list and its dialogs write 08/12/2026 and 0,5 alike.
#include <QLocale>
#include <QString>

// Sets the default locale from the setting; problema receives a text for the
// operator when the setting names no locale Qt knows (pt_BR is used then).
QLocale AplicaLocaleTerminal(QString* problema = nullptr);

// Qt's own texts (the file dialog, the standard buttons) in the language of
// that locale, from the catalogues the system ships; false when there are none
// for it (Qt's English stays). Needs the application; call it before any window.
bool InstalaTraducaoQt(const QLocale& locale);
