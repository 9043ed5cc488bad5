#pragma once
// Quantities travel between the screen and the server as decimal text. Both
// ends use these two functions, so a quantity is always written and read in
// the machine's own number format (QLocale::system(): "1,5" on a Brazilian
// machine, "1.5" under the C locale): shortest exact form, no group separator.
#include <QString>

QString QtdeToStr(double quantidade);
// Leading and trailing blanks are ignored; raises EConvertError for a text that
// is not a finite number in that format, or that holds a group separator.
double StrToQtde(const QString& texto);
