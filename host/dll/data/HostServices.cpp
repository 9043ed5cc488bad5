#include "HostServices.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
QString& hostFolderOverride()
{
    static QString folder;
    return folder;
}
} // namespace

QString HostFolder()
{
    if (!hostFolderOverride().isEmpty())
        return hostFolderOverride();
    // The host may be a plain program without a Qt application object.
    const QFileInfo exe(QStringLiteral("/proc/self/exe"));
    QString folder = exe.exists() ? QFileInfo(exe.symLinkTarget()).absolutePath()
                                  : QCoreApplication::applicationDirPath();
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

void SetHostFolderOverride(const QString& folder)
{
    hostFolderOverride() = folder;
}

QString MontaRodapeGeral(bool showFiscalMenu, const QString& screenCode, const QString& /*flag*/)
{
    // "Kvp00917": the screen code with only its first letter in capitals.
    QString code = screenCode.toLower();
    if (!code.isEmpty())
        code[0] = code[0].toUpper();
    return showFiscalMenu ? QStringLiteral("F1 - Menu Fiscal - %1").arg(code) : code;
}
