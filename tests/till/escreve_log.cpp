// Writes COUNT lines "TAG N" plus padding to the till's operation log in
// FOLDER, as one till would, for the test of two tills sharing a folder.
#include <QCoreApplication>
#include <QStringList>

#include "HostServices.h"
#include "LogsTill.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() != 4)
        return 2;
    SetHostFolderOverride(a.at(1));
    QVariantList nada;
    for (int i = 0; i < a.at(3).toInt(); ++i)
        LogImpNFiscalTill({QStringLiteral("%1 %2 %3").arg(a.at(2)).arg(i).arg(QString(3000, QLatin1Char('x')))}, nada);
    return 0;
}
