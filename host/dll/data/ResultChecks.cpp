#include "ResultChecks.h"

#include "Exception.h"

QVariant MensagemMetodo(const QVariant& result, bool raise, int /*flags*/, const QString& tag, const QString& unitName,
                        const QString& context, const QString& /*idEsquema*/)
{
    if (result.typeId() == QMetaType::QString && raise) {
        const QString text = result.toString().isEmpty() ? QStringLiteral("O servidor informou uma falha sem mensagem.")
                                                         : result.toString();
        throw Exception(QStringLiteral("%1\n(%2.%3 %4)").arg(text, unitName, tag, context));
    }
    return result;
}

QVariant CheckResultServ(const QVariant& result, bool raise, int /*flags*/)
{
    if (result.typeId() == QMetaType::QString && raise) {
        // An empty failure text must not pass for success.
        const QString text = result.toString();
        throw Exception(text.isEmpty() ? QStringLiteral("O servidor informou uma falha sem mensagem.") : text);
    }
    return result;
}
