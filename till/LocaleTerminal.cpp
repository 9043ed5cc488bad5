#include "LocaleTerminal.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

#include "Connection.h"

QLocale AplicaLocaleTerminal(QString* problema)
{
    const QLocale padrao(QLocale::Portuguese, QLocale::Brazil);
    const QString nome = KvpIniValue(QStringLiteral("Terminal"), QStringLiteral("Locale"));
    QLocale locale = padrao;
    if (!nome.isEmpty()) {
        const QLocale pedido(nome);
        // An unknown name gives the C locale: not what anyone asked for.
        if (pedido.language() == QLocale::C && nome.compare(QLatin1String("C"), Qt::CaseInsensitive) != 0) {
            if (problema)
                *problema = QStringLiteral("kvp.ini: Locale=%1 não é um idioma conhecido; usando pt_BR.").arg(nome);
        } else {
            locale = pedido;
        }
    }
    QLocale::setDefault(locale);
    return locale;
}

bool InstalaTraducaoQt(const QLocale& locale)
{
    // One catalogue for the process: a second call replaces the first.
    static QTranslator* instalada = nullptr;
    auto traducao = std::make_unique<QTranslator>();
    if (!traducao->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    if (instalada) {
        QCoreApplication::removeTranslator(instalada);
        delete instalada;
    }
    instalada = traducao.release();
    QCoreApplication::installTranslator(instalada);
    return true;
}
