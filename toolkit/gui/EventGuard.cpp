#include "EventGuard.h"

#include <QString>
#include <QtDebug>
#include <exception>

#include "Exception.h"

namespace {
std::function<void(const QString&)>& defaultHandler()
{
    static std::function<void(const QString&)> handler;
    return handler;
}

void report(const QString& message)
{
    // The handler itself may fail (a message box without a screen, a host
    // service gone): that must not unwind into the event loop either.
    try {
        if (defaultHandler()) {
            defaultHandler()(message);
            return;
        }
    } catch (const std::exception& e) {
        qWarning().noquote() << "Erro ao exibir a mensagem:" << QString::fromUtf8(e.what());
    } catch (...) {
        qWarning().noquote() << "Erro ao exibir a mensagem.";
    }
    qWarning().noquote() << message;
}
} // namespace

void SetDefaultExceptionHandler(std::function<void(const QString& message)> handler)
{
    defaultHandler() = std::move(handler);
}

void Guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const EAbort&) {
        // The action already said what went wrong.
    } catch (const Exception& e) {
        report(e.Message());
    } catch (const std::exception& e) {
        report(QString::fromUtf8(e.what()));
    } catch (...) {
        report(QStringLiteral("Erro desconhecido."));
    }
}
