#include "Trad.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QTranslator>
#include <QWidget>

#include "HostServices.h"

namespace {
// The suite's translation, if the installation has one, in the host folder:
// kvp_<language>.qm for the machine's language (kvp_en_US.qm, kvp_en.qm),
// else kvp.qm.
bool carregaTradutor(QTranslator& translator)
{
    const QString folder = HostFolder();
    return translator.load(QLocale::system(), QStringLiteral("kvp"), QStringLiteral("_"), folder, QStringLiteral(".qm"))
        || translator.load(QStringLiteral("kvp"), folder);
}

QString traduz(const QTranslator& translator, const char* context, const QString& text)
{
    if (text.isEmpty())
        return text;
    const QString translated = translator.translate(context, text.toUtf8().constData());
    return translated.isEmpty() ? text : translated;
}
} // namespace

void Trad(QWidget* form)
{
    if (!form)
        return;
    QTranslator translator;
    if (!carregaTradutor(translator))
        return;
    // Texts are looked up under the form's class name, so two screens may
    // translate the same words differently.
    const QByteArray context = form->metaObject()->className();
    form->setWindowTitle(traduz(translator, context.constData(), form->windowTitle()));
    for (QLabel* label : form->findChildren<QLabel*>())
        label->setText(traduz(translator, context.constData(), label->text()));
    for (QAbstractButton* button : form->findChildren<QAbstractButton*>())
        button->setText(traduz(translator, context.constData(), button->text()));
}
