// The till: loads the cancellation package from its own folder and calls its
// entry for one order, with its own operator services behind it.
//   till NRCOMANDA DSCOMANDA MODO [NRMESA]
//   till --write-demo-files [--overwrite]
#include <QApplication>
#include <QLibrary>
#include <QStringList>
#include <cstdio>
#include <memory>

#include "ArquivosDemo.h"
#include "CapturaTela.h"
#include "Exception.h"
#include "HostServices.h"
#include "ServicosTill.h"

namespace {

using TCancelaProduto = void (*)(const char*, const char*, const char*, const char*);
using TCancelaProdutoErro = const char* (*)();
using TFrame = void (*)();

int Uso()
{
    std::fprintf(stderr, "Uso: till NRCOMANDA DSCOMANDA MODO [NRMESA]\n"
                         "     till --write-demo-files [--overwrite]\n"
                         "MODO: RES (mesa), CMD (comanda), DLV (entrega); DLV_T com NRMESA T cancela a entrega toda.\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    const bool semTela = qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (semTela && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);

    if (args.value(0) == QLatin1String("--write-demo-files")) {
        try {
            GravaArquivosDemo(HostFolder(), args.contains(QStringLiteral("--overwrite")));
            return 0;
        } catch (const Exception& e) {
            std::fprintf(stderr, "Erro: %s\n", e.what());
            return 1;
        }
    }
    if (args.size() < 3 || args.size() > 4)
        return Uso();

    InstalaServicosTill();

    QLibrary pacote(HostFolder() + QStringLiteral("/pkg_kvp00917"));
    if (!pacote.load()) {
        std::fprintf(stderr, "Erro: pacote não carregado: %s\n", qPrintable(pacote.errorString()));
        return 1;
    }
    auto cancelaProduto = reinterpret_cast<TCancelaProduto>(pacote.resolve("CancelaProduto"));
    auto cancelaProdutoErro = reinterpret_cast<TCancelaProdutoErro>(pacote.resolve("CancelaProdutoErro"));
    auto initialize = reinterpret_cast<TFrame>(pacote.resolve("Initialize"));
    auto finalize = reinterpret_cast<TFrame>(pacote.resolve("Finalize"));
    if (!cancelaProduto || !cancelaProdutoErro || !initialize || !finalize) {
        std::fprintf(stderr, "Erro: o pacote não exporta a entrada CancelaProduto.\n");
        return 1;
    }

    std::unique_ptr<CapturaTela> captura;
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        captura = std::make_unique<CapturaTela>();

    initialize();
    const QByteArray nrComanda = args.value(0).toUtf8();
    const QByteArray dsComanda = args.value(1).toUtf8();
    const QByteArray modo = args.value(2).toUtf8();
    const QByteArray nrMesa = args.value(3).toUtf8();
    cancelaProduto(nrComanda.constData(), dsComanda.constData(), modo.constData(), nrMesa.constData());
    const QByteArray erro(cancelaProdutoErro());
    finalize();
    captura.reset();

    if (!erro.isEmpty()) {
        std::fprintf(stderr, "Erro: %s\n", erro.constData());
        return 1;
    }
    return 0;
}
