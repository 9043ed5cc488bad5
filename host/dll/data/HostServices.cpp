#include "HostServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {
QString& hostFolderOverride()
{
    static QString folder;
    return folder;
}

QString withoutTrailingSlash(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

// PREFIX of a program installed as PREFIX/bin/NAME with its package in
// PREFIX/lib/kvp; empty for any other program (a build tree, a test).
QString findInstallPrefix()
{
    const QDir program(ProgramFolder());
    if (program.dirName() != QLatin1String("bin"))
        return QString();
    const QString prefix = QFileInfo(program.absolutePath() + QStringLiteral("/..")).canonicalFilePath();
    if (prefix.isEmpty() || !QFileInfo::exists(prefix + QStringLiteral("/lib/kvp/libpkg_kvp00917.so")))
        return QString();
    return prefix;
}

// The program does not move while it runs: looked up once.
QString installPrefix()
{
    static const QString prefix = findInstallPrefix();
    return prefix;
}

} // namespace

// kvp.ini is read by hand: the settings reader of the framework would split a
// value at commas and treat ';' of an ODBC string as the start of a comment.
// An empty section takes the key from any section.
QString IniFileValue(const QString& path, const QString& section, const QString& key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QTextStream in(&file);
    QString current;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            current = line.mid(1, line.indexOf(QLatin1Char(']')) - 1).trimmed();
            continue;
        }
        if (!section.isEmpty() && current.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0)
            continue;
        QString value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        return value;
    }
    return QString();
}

QString ProgramFolder()
{
    // The host may be a plain program without a Qt application object.
    const QFileInfo exe(QStringLiteral("/proc/self/exe"));
    return withoutTrailingSlash(exe.exists() ? QFileInfo(exe.symLinkTarget()).absolutePath()
                                             : QCoreApplication::applicationDirPath());
}

QString PackageFolder()
{
    const QString prefix = installPrefix();
    return prefix.isEmpty() ? ProgramFolder() : prefix + QStringLiteral("/lib/kvp");
}

QString SystemIniPath()
{
    const QString prefix = installPrefix();
    if (prefix.isEmpty())
        return QString();
    return prefix == QLatin1String("/usr") ? QStringLiteral("/etc/kvp/kvp.ini")
                                           : prefix + QStringLiteral("/etc/kvp/kvp.ini");
}

QString HostFolder()
{
    if (!hostFolderOverride().isEmpty())
        return hostFolderOverride();
    QString folder = qEnvironmentVariable("KVP_PASTA").trimmed();
    // An installed program never writes under its prefix (/usr is the
    // system's): its files go to a folder of the installation.
    if (folder.isEmpty() && !installPrefix().isEmpty()) {
        folder = IniFileValue(SystemIniPath(), QStringLiteral("Terminal"), QStringLiteral("pasta"));
        if (folder.isEmpty()) {
            const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
            folder = (dataHome.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : dataHome)
                + QStringLiteral("/kvp");
        }
    }
    if (folder.isEmpty())
        return ProgramFolder();
    folder = withoutTrailingSlash(QDir(folder).absolutePath());
    QDir().mkpath(folder);
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
