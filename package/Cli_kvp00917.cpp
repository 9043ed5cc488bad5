#include "Cli_kvp00917.h"

#include <QApplication>
#include <QByteArray>
#include <cstdio>
#include <exception>

#include "ComandoCancelamento.h"
#include "EventGuard.h"
#include "Exception.h"
#include "FrmCancelaProd.h"
#include "Mensagem.h"
#include "RdmCancelaProd.h"
#include "Srv_kvp00917.h"
#include "ado/ADO.h"

namespace {
// Set when the package had to pick the offscreen platform for a host without
// any display: nobody could answer a window there, so none is waited on.
bool semTela = false;
} // namespace

namespace Cli_kvp00917 {

namespace {

bool emExecucao = false; // a call is inside its modal window
QString mensagemFimChamada; // the notice that ended the call's last run of the command

void MostraErro(const QString& message)
{
    Avisa(message);
}

// A cancel-all call shows no window: nobody is asked anything (the command
// asks no question on such a run), and its notices go to the suite's message
// service as every failure of the package does.
class TOperadorSemTela : public TOperadorCancelamento {
public:
    bool Pergunta(TPergunta, const QString&, const QString&) override { return false; }
    void Avisa(const QString& texto, const QString& idEsquema) override
    {
        ::Avisa(texto, TSinalMensagem::Automatico, idEsquema);
    }
};

bool EhCancelaTodos(const QString& modo, const QString& nrMesa)
{
    return nrMesa == QLatin1String("T") && modo == QLatin1String("DLV_T");
}

// Step 4 of every call: the window first, then the data module.
void Libera()
{
    delete frmCancelaProd;
    frmCancelaProd = nullptr;
    delete rdmCancelaProd;
    rdmCancelaProd = nullptr;
    // No window survives the call, so none is created either.
    boIdCriado = false;
}

} // namespace

void Inicializacao()
{
    boIdCriado = false;
    SetDefaultExceptionHandler(MostraErro);
}

void Finalizacao()
{
    // The handler's code lives in this package, which is about to go.
    SetDefaultExceptionHandler({});
    TADOConnection::ReleaseKeptSessions();
}

void CancelaProduto(const QString& nrComanda, const QString& dsComanda, const QString& modo, const QString& nrMesa)
{
    if (emExecucao)
        throw Exception(QStringLiteral("O cancelamento de produto já está aberto."));
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        throw Exception(QStringLiteral("O cancelamento de produto precisa da aplicação gráfica do host."));

    struct Chamada {
        Chamada() { emExecucao = true; }
        ~Chamada() { emExecucao = false; }
    } chamada;

    SetDefaultExceptionHandler(MostraErro); // also for hosts that never ran Initialize
    boCancelTodos = false;
    mensagemFimChamada.clear();
    // A run refused or stopped inside the window was shown to the operator;
    // the caller must not read the call as completed.
    QString fim;
    try {
        if (EhCancelaTodos(modo, nrMesa)) {
            TOperadorSemTela operador;
            TComandoCancelamento comando(operador);
            comando.Inicializa(nrComanda, dsComanda, modo, nrMesa);
            comando.CancelaTodos();
            fim = comando.MensagemFimExecucao();
        } else {
            if (!boIdCriado || !frmCancelaProd) {
                frmCancelaProd = new TfrmCancelaProd(nullptr);
                frmCancelaProd->InicializaForm(nrComanda, dsComanda, modo, nrMesa);
                boIdCriado = true;
            }
            if (semTela)
                throw Exception(QStringLiteral("Não há tela para mostrar o cancelamento de produto: "
                                               "o host não tem DISPLAY nem QT_QPA_PLATFORM."));
            frmCancelaProd->exec();
            fim = frmCancelaProd ? frmCancelaProd->MensagemFimExecucao() : QString();
        }
    } catch (...) {
        Libera();
        throw;
    }
    Libera();
    if (!fim.isEmpty()) {
        mensagemFimChamada = fim;
        throw EAbort();
    }
}

QString MensagemFimChamada()
{
    return mensagemFimChamada;
}

} // namespace Cli_kvp00917

namespace {

QByteArray& ultimoErro()
{
    static QByteArray text;
    return text;
}

// How the last call ended, and the message that ended it.
int ultimoFim = CANCELAPRODUTO_CONCLUIDO;
QByteArray& mensagemFim()
{
    static QByteArray text;
    return text;
}

// A host without a Qt application (a plain C program) gets one for its calls;
// it stays for later calls because Qt cannot build a second one reliably.
void GaranteAplicacao()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        semTela = true;
        // Messages go where the host's output goes; questions take the cautious "no".
        SetMensagemHandler([](const MensagemArgs& a) {
            std::fprintf(stderr, "%s\n", a.Texto.toUtf8().constData());
            return !MensagemEhPergunta(a.Pergunta, a.Tipo);
        });
    }
    static int argc = 1;
    static char nome[] = "kvp00917";
    static char* argv[] = {nome, nullptr};
    new QApplication(argc, argv);
}

void GuardaErro(const QString& message)
{
    ultimoFim = CANCELAPRODUTO_FALHOU;
    // A failure must never read as a success, even one without a message.
    ultimoErro() = message.isEmpty() ? QByteArrayLiteral("Erro desconhecido no cancelamento de produto.")
                                     : message.toUtf8();
}

QString Texto(const char* utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

} // namespace

extern "C" void CancelaProduto(const char* nrComanda, const char* dsComanda, const char* modo, const char* nrMesa)
{
    ultimoErro().clear();
    ultimoFim = CANCELAPRODUTO_CONCLUIDO;
    mensagemFim().clear();
    LimpaUltimaMensagem();
    try {
        GaranteAplicacao();
        Cli_kvp00917::CancelaProduto(Texto(nrComanda), Texto(dsComanda), Texto(modo), Texto(nrMesa));
    } catch (const EAbort&) {
        // Already shown to the operator; the host may still want to know what.
        ultimoFim = CANCELAPRODUTO_MENSAGEM;
        const QString fim = Cli_kvp00917::MensagemFimChamada();
        mensagemFim() = (fim.isEmpty() ? UltimaMensagem() : fim).toUtf8();
    } catch (const Exception& e) {
        GuardaErro(e.Message());
    } catch (const std::exception& e) {
        GuardaErro(QString::fromUtf8(e.what()));
    } catch (...) {
        GuardaErro(QString());
    }
}

extern "C" const char* CancelaProdutoErro(void)
{
    return ultimoErro().constData();
}

extern "C" int CancelaProdutoFim(const char** mensagem)
{
    if (mensagem)
        *mensagem = mensagemFim().constData();
    return ultimoFim;
}
