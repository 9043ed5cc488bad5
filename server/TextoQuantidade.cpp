#include "TextoQuantidade.h"

#include <QLocale>
#include <cmath>

#include "Exception.h"

QString QtdeToStr(double quantidade)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(quantidade, 'f', QLocale::FloatingPointShortest);
}

double StrToQtde(const QString& texto)
{
    // QtdeToStr never writes a group separator, so one read here is the other
    // format's decimal point: "0.355" must not become 355 on a Brazilian machine.
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double valor = locale.toDouble(texto.trimmed(), &ok);
    if (!ok || !std::isfinite(valor))
        throw EConvertError(QStringLiteral("'%1' não é uma quantidade válida.").arg(texto));
    return valor;
}
