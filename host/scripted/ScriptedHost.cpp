#include "ScriptedHost.h"

#include <QStringList>
#include <stdexcept>

#include "Mensagem.h"
#include "Wdc00001.h"
#include "Wdc00002.h"

namespace {

ScriptedHost* current = nullptr;

ScriptedHost& host()
{
    if (!current)
        throw std::logic_error("ScriptedHost: a service was called after the scripted host was removed");
    return *current;
}

using Call = ScriptedHost::Call;

Call Chamada(const QString& service, const QVariantList& args)
{
    Call call;
    call.Service = service;
    call.Args = args;
    return call;
}

bool scriptedVerificaAcesso(int code, const QString& operador, QString& autorizador)
{
    Call call = Chamada(QStringLiteral("VerificaAcesso"), {code, operador, autorizador});
    const ScriptedHost::Acesso a = host().NextAcesso(call.Padrao);
    if (a.Permitido)
        autorizador = a.Autorizador.isEmpty() ? operador : a.Autorizador;
    call.Devolvidos = {{2, autorizador}};
    call.Resultado = a.Permitido;
    host().Record(call);
    return a.Permitido;
}

void scriptedObservacao(const QVariantList& dados, QVariantList& resultado, QString& texto)
{
    Call call = Chamada(QStringLiteral("Observacao"), {QVariant(dados), QVariant(resultado), texto});
    const ScriptedHost::Motivo m = host().NextMotivo(call.Padrao);
    if (resultado.size() <= Wdc00002::ResultadoObservacao::Grupo)
        resultado.resize(Wdc00002::ResultadoObservacao::Grupo + 1);
    resultado[Wdc00002::ResultadoObservacao::Grupo] = m.Grupo;
    texto = m.Texto;
    call.Devolvidos = {{1, QVariant(resultado)}, {2, texto}};
    host().Record(call);
}

bool scriptedTecladoNumerico(QString& valor, const QString& titulo, const QString& pergunta, const QString& vazio,
                             int a5, int a6, bool decimais, int a8, int a9, int a10)
{
    Call call = Chamada(QStringLiteral("TecladoNumerico"),
                        {valor, titulo, pergunta, vazio, a5, a6, decimais, a8, a9, a10});
    const ScriptedHost::Teclado t = host().NextTeclado(call.Padrao);
    if (t.Confirmado)
        valor = t.Valor;
    call.Devolvidos = {{0, valor}};
    call.Resultado = t.Confirmado;
    host().Record(call);
    return t.Confirmado;
}

// A service that answers nothing: the call is recorded with its arguments.
template <typename Assinatura> struct TGravado;
template <typename... Args> struct TGravado<void(Args...)> {
    template <auto& Servico> static void Chama(Args... args)
    {
        host().Record(Chamada(QLatin1String(Servico.name()), {QVariant(args)...}));
    }
};

template <typename T> T takeOr(QList<T>& queue, const T& fallback, bool& padrao)
{
    padrao = queue.isEmpty();
    return padrao ? fallback : queue.takeFirst();
}

} // namespace

ScriptedHost::ScriptedHost()
{
    if (current)
        throw std::logic_error("ScriptedHost: only one scripted host at a time");
    current = this;
    // A question is answered from its queue; the rest are only recorded.
#define KVP_INSTALA_Pergunta(pacote, nome) pacote::nome = scripted##nome;
#define KVP_INSTALA_Dialogo(pacote, nome) pacote::nome = TGravado<pacote::F##nome>::Chama<pacote::nome>;
#define KVP_INSTALA_Saida(pacote, nome) KVP_INSTALA_Dialogo(pacote, nome)
#define KVP_INSTALA(pacote, nome, tipo) KVP_INSTALA_##tipo(pacote, nome)
    WDC00002_SERVICOS(KVP_INSTALA)
    WDC00001_SERVICOS(KVP_INSTALA)
#undef KVP_INSTALA
#undef KVP_INSTALA_Saida
#undef KVP_INSTALA_Dialogo
#undef KVP_INSTALA_Pergunta
    SetMensagemHandler([](const MensagemArgs& args) { return host().NextMensagem(args); });
}

ScriptedHost::~ScriptedHost()
{
    Wdc00002::ResetAll();
    Wdc00001::ResetAll();
    SetMensagemHandler({});
    current = nullptr;
}

ScriptedHost* ScriptedHost::Current()
{
    return current;
}

void ScriptedHost::Record(Call call)
{
    Calls.append(std::move(call));
    if (OnCall)
        OnCall(Calls.last());
}

QList<ScriptedHost::Call> ScriptedHost::CallsOf(const QString& service) const
{
    QList<Call> result;
    for (const Call& c : Calls) {
        if (c.Service == service)
            result.append(c);
    }
    return result;
}

int ScriptedHost::Count(const QString& service) const
{
    return int(CallsOf(service).size());
}

QStringList ScriptedHost::Mensagens() const
{
    QStringList texts;
    for (const Call& c : CallsOf(QStringLiteral("Mensagem")))
        texts << c.Args.value(0).toString();
    return texts;
}

ScriptedHost::Acesso ScriptedHost::NextAcesso(bool& padrao)
{
    return takeOr(AcessoRespostas, AcessoPadrao, padrao);
}

ScriptedHost::Motivo ScriptedHost::NextMotivo(bool& padrao)
{
    return takeOr(MotivoRespostas, MotivoPadrao, padrao);
}

ScriptedHost::Teclado ScriptedHost::NextTeclado(bool& padrao)
{
    return takeOr(TecladoRespostas, TecladoPadrao, padrao);
}

bool ScriptedHost::NextMensagem(const MensagemArgs& args)
{
    Call call = Chamada(QStringLiteral("Mensagem"),
                        {args.Texto, args.Arg2, args.Arg3, args.Pergunta, args.Tipo, args.Arg6, args.IdEsquema,
                         args.Arg8});
    // A notice is only acknowledged: it takes no answer from the queue.
    const bool resposta = MensagemEhPergunta(args.Pergunta, args.Tipo)
        ? takeOr(MensagemRespostas, MensagemPadrao, call.Padrao)
        : true;
    call.Resultado = resposta;
    Record(call);
    return resposta;
}
