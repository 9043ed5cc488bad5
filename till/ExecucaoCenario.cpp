#include "ExecucaoCenario.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

#include "Cenario.h"
#include "Connection.h"
#include "DisplayCliente.h"
#include "HostServices.h"
#include "ImpressaoCancelamento.h"
#include "JanelaCenario.h"
#include "LocaleTerminal.h"
#include "LogsTill.h"
#include "Pacote.h"
#include "PastaCaixa.h"
#include "ScriptedHostJson.h"
#include "Wdc00001.h"
#include "Wdc00002.h"
#include "kvp00917.h"

namespace {

QString ComoTerminou(int fim)
{
    switch (fim) {
    case CANCELAPRODUTO_CONCLUIDO: return QStringLiteral("concluido");
    case CANCELAPRODUTO_FALHOU: return QStringLiteral("falhou");
    case CANCELAPRODUTO_MENSAGEM: return QStringLiteral("mensagem");
    default: return QString::number(fim);
    }
}

int Falha(const QString& texto)
{
    std::fprintf(stderr, "Erro: %s\n", texto.toUtf8().constData());
    return 1;
}

// Answers the scenario gave and nobody asked for: the scenario and the module
// no longer agree, which whoever keeps the file wants to know.
void AvisaSobras(const ScriptedHost& host)
{
    QStringList sobras;
    const auto conta = [&](const char* servico, qsizetype n) {
        if (n > 0)
            sobras << QStringLiteral("%1 %2").arg(QLatin1String(servico)).arg(n);
    };
    conta("VerificaAcesso", host.AcessoRespostas.size());
    conta("Observacao", host.MotivoRespostas.size());
    conta("TecladoNumerico", host.TecladoRespostas.size());
    conta("Mensagem", host.MensagemRespostas.size());
    if (!sobras.isEmpty())
        std::fprintf(stderr, "Aviso: respostas não usadas: %s\n",
                     sobras.join(QStringLiteral(", ")).toUtf8().constData());
}

// An output service with the till's output behind the recorder the scripted
// host put in its place, so that a record still shows every call in order.
template <typename Assinatura> struct TSaidaDoCaixa;
template <typename... Args> struct TSaidaDoCaixa<void(Args...)> {
    using Fn = void (*)(Args...);
    template <auto& Servico, Fn Saida> struct TServico {
        static inline Fn Registra = nullptr; // the scripted host's recorder
        static void Ambos(Args... args)
        {
            Registra(args...);
            Saida(args...);
        }
        static void Instala()
        {
            Registra = Servico.get();
            Servico = Ambos;
        }
    };
};

} // namespace

void UsaSaidasDoCaixa()
{
#define KVP_SAIDA_Pergunta(pacote, nome)
#define KVP_SAIDA_Dialogo(pacote, nome)
#define KVP_SAIDA_Saida(pacote, nome) TSaidaDoCaixa<pacote::F##nome>::TServico<pacote::nome, nome##Till>::Instala();
#define KVP_SAIDA(pacote, nome, tipo) KVP_SAIDA_##tipo(pacote, nome)
    WDC00002_SERVICOS(KVP_SAIDA)
    WDC00001_SERVICOS(KVP_SAIDA)
#undef KVP_SAIDA
#undef KVP_SAIDA_Saida
#undef KVP_SAIDA_Dialogo
#undef KVP_SAIDA_Pergunta
}

int ExecutaCenario(const QString& arquivo, const QString& registro)
{
    TCenario cenario;
    try {
        cenario = LeCenario(arquivo);
    } catch (const Exception& e) {
        return Falha(e.Message());
    }

    // The usual setting is resolved against the till's own folder, before the
    // run moves to a scratch folder.
    qputenv("KVP_DATABASE", (cenario.Banco.isEmpty() ? _GetStringConexQrv(QString()) : cenario.Banco).toUtf8());

    std::unique_ptr<TPacote> pacote;
    QTemporaryDir pasta;
    // Opened before the call: a run whose writes could not be recorded must not run.
    QFile saida(registro);
    try {
        if (!registro.isEmpty() && !saida.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw Exception(
                QStringLiteral("não foi possível gravar o registro %1: %2").arg(registro, saida.errorString()));
        pacote = std::make_unique<TPacote>(PackageFolder());
        if (!pasta.isValid())
            throw Exception(QStringLiteral("não foi possível criar a pasta temporária: %1").arg(pasta.errorString()));
        // The terminal's files of the run live there, never in the till's folder.
        GravaArquivoTerminal(pasta.filePath(kArquivoParametros), cenario.Parametros);
        GravaArquivoTerminal(pasta.filePath(kArquivoOperador), cenario.Operador);
    } catch (const Exception& e) {
        return Falha(e.Message());
    }
    // The till's own files stay in its folder; only the terminal's move. Such
    // a run also speaks the terminal's language, as the till does; files
    // without the key keep the machine's, so that they keep their meaning.
    if (cenario.SaidasDoCaixa) {
        DefinePastaCaixa(HostFolder());
        QString problema;
        AplicaLocaleTerminal(&problema);
        if (!problema.isEmpty())
            std::fprintf(stderr, "%s\n", qPrintable(problema));
    }
    SetHostFolderOverride(pasta.path());

    ScriptedHost host;
    host.AcessoRespostas = cenario.Acessos;
    host.MotivoRespostas = cenario.Motivos;
    host.TecladoRespostas = cenario.Teclados;
    host.MensagemRespostas = cenario.Mensagens;
    TJanelaCenario janela(arquivo, cenario.Acoes);
    if (cenario.SaidasDoCaixa) {
        UsaSaidasDoCaixa();
        janela.GuardaTelas(PastaCaixa() + QStringLiteral("/Telas"), QFileInfo(arquivo).completeBaseName());
    }

    pacote->Inicializa();
    const TFimChamada fim = pacote->Chama(cenario.NrComanda, cenario.DsComanda, cenario.Modo, cenario.NrMesa);
    pacote.reset();
    if (cenario.SaidasDoCaixa) {
        // The tickets go out before the run leaves the till's folder.
        TRemetenteTiquetes::Instancia().Aguarda(120000);
        EncerraEnvioTiquetes();
    }
    SetHostFolderOverride(QString());
    DefinePastaCaixa(QString());

    const QJsonObject record{
        {QStringLiteral("calls"), ChamadasJson(host.Calls)},
        {QStringLiteral("outcome"),
         QJsonObject{{QStringLiteral("error"),
                      fim.Erro.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(fim.Erro)},
                     {QStringLiteral("ended"), ComoTerminou(fim.Fim)},
                     {QStringLiteral("message"),
                      fim.Mensagem.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(fim.Mensagem)}}},
        {QStringLiteral("grid"), janela.Grade()},
    };
    const QByteArray json = QJsonDocument(record).toJson(QJsonDocument::Indented);
    if (registro.isEmpty()) {
        std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
        std::fflush(stdout);
    } else {
        if (saida.write(json) != json.size() || !saida.flush())
            return Falha(
                QStringLiteral("não foi possível gravar o registro %1: %2").arg(registro, saida.errorString()));
    }

    AvisaSobras(host);
    if (!janela.Erro().isEmpty())
        return Falha(janela.Erro());
    if (!cenario.Acoes.isEmpty() && !janela.Mostrada())
        std::fprintf(stderr, "Aviso: a janela não foi mostrada; nenhuma ação do cenário foi feita.\n");
    return 0;
}
