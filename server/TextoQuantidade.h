#pragma once
// Quantities travel between the screen and the server as decimal text. Both
// ends use these two functions, so a quantity is always written and read in
// the default locale's number format (the host's terminal setting, else the
// machine's: "1,5" in pt_BR, "1.5" under C): shortest exact form, no group
// separator.
#include <QString>

QString QtdeToStr(double quantidade);
// Leading and trailing blanks are ignored; raises EConvertError for a text that
// is not a finite number in that format, or that holds a group separator.
double StrToQtde(const QString& texto);
