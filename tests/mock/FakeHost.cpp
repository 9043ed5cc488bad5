#include "FakeHost.h"

#include <QStringList>
#include <stdexcept>

#include "Mensagem.h"
#include "Wdc00001.h"
#include "Wdc00002.h"

namespace {

FakeHost* current = nullptr;

FakeHost& host()
{
    if (!current)
        throw std::logic_error("FakeHost: a service was called after the fake was removed");
    return *current;
}

bool fakeVerificaAcesso(int code, const QString& operador, QString& autorizador)
{
    host().Record(QStringLiteral("VerificaAcesso"), {code, operador, autorizador});
    const FakeHost::Acesso a = host().NextAcesso();
    if (a.Permitido)
        autorizador = a.Autorizador.isEmpty() ? operador : a.Autorizador;
    return a.Permitido;
}

void fakeObservacao(const QVariantList& dados, QVariantList& resultado, QString& texto)
{
    host().Record(QStringLiteral("Observacao"), {QVariant(dados), QVariant(resultado), texto});
    const FakeHost::Motivo m = host().NextMotivo();
    if (resultado.isEmpty())
        resultado.append(QVariant());
    resultado[0] = m.Grupo;
    texto = m.Texto;
}

bool fakeTecladoNumerico(QString& valor, const QString& titulo, const QString& pergunta, const QString& vazio,
                         int a5, int a6, bool decimais, int a8, int a9, int a10)
{
    host().Record(QStringLiteral("TecladoNumerico"),
                  {valor, titulo, pergunta, vazio, a5, a6, decimais, a8, a9, a10});
    const FakeHost::Teclado t = host().NextTeclado();
    if (t.Confirmado)
        valor = t.Valor;
    return t.Confirmado;
}

void fakeLogImpNFiscal(const QVariantList& linha, QVariantList& troca)
{
    host().Record(QStringLiteral("LogImpNFiscal"), {QVariant(linha), QVariant(troca)});
}

void fakeLogControleAcess(const QString& filial, const QString& caixa, const QString& acao, const QString& operador,
                          const QString& nome, const QString& autorizador, const QString& titulo,
                          const QString& detalhe, const QString& venda, const QString& comanda,
                          const QString& dsComanda, const QString& mesa, int a13, int a14)
{
    host().Record(QStringLiteral("LogControleAcess"), {filial, caixa, acao, operador, nome, autorizador, titulo,
                                                        detalhe, venda, comanda, dsComanda, mesa, a13, a14});
}

void fakeDisparaImprimeCancProduto(const QVariantList& dados, QVariantList& troca)
{
    host().Record(QStringLiteral("DisparaImprimeCancProduto"), {QVariant(dados), QVariant(troca)});
}

void fakeRelFiscais()
{
    host().Record(QStringLiteral("RelFiscais"), {});
}

void fakeLimpaDisplay()
{
    host().Record(QStringLiteral("LimpaDisplay"), {});
}

void fakeDisplayEnviaTexto(const QString& texto, int linha, int coluna, int a4, int a5)
{
    host().Record(QStringLiteral("DisplayEnviaTexto"), {texto, linha, coluna, a4, a5});
}

template <typename T>
T takeOr(QList<T>& queue, const T& fallback)
{
    return queue.isEmpty() ? fallback : queue.takeFirst();
}

} // namespace

FakeHost::FakeHost()
{
    if (current)
        throw std::logic_error("FakeHost: only one fake host at a time");
    current = this;
    Wdc00002::VerificaAcesso = fakeVerificaAcesso;
    Wdc00002::Observacao = fakeObservacao;
    Wdc00002::TecladoNumerico = fakeTecladoNumerico;
    Wdc00002::LogImpNFiscal = fakeLogImpNFiscal;
    Wdc00002::LogControleAcess = fakeLogControleAcess;
    Wdc00002::DisparaImprimeCancProduto = fakeDisparaImprimeCancProduto;
    Wdc00002::RelFiscais = fakeRelFiscais;
    Wdc00001::LimpaDisplay = fakeLimpaDisplay;
    Wdc00001::DisplayEnviaTexto = fakeDisplayEnviaTexto;
    SetMensagemHandler([](const MensagemArgs& args) { return host().NextMensagem(args); });
}

FakeHost::~FakeHost()
{
    Wdc00002::ResetAll();
    Wdc00001::ResetAll();
    SetMensagemHandler({});
    current = nullptr;
}

FakeHost* FakeHost::Current()
{
    return current;
}

void FakeHost::Record(const QString& service, const QVariantList& args)
{
    Calls.append({service, args});
    if (OnCall)
        OnCall(Calls.last());
}

QList<FakeHost::Call> FakeHost::CallsOf(const QString& service) const
{
    QList<Call> result;
    for (const Call& c : Calls) {
        if (c.Service == service)
            result.append(c);
    }
    return result;
}

int FakeHost::Count(const QString& service) const
{
    return int(CallsOf(service).size());
}

QStringList FakeHost::Mensagens() const
{
    QStringList texts;
    for (const Call& c : CallsOf(QStringLiteral("Mensagem")))
        texts << c.Args.value(0).toString();
    return texts;
}

FakeHost::Acesso FakeHost::NextAcesso()
{
    return takeOr(AcessoRespostas, AcessoPadrao);
}

FakeHost::Motivo FakeHost::NextMotivo()
{
    return takeOr(MotivoRespostas, MotivoPadrao);
}

FakeHost::Teclado FakeHost::NextTeclado()
{
    return takeOr(TecladoRespostas, TecladoPadrao);
}

bool FakeHost::NextMensagem(const MensagemArgs& args)
{
    Record(QStringLiteral("Mensagem"), {args.Texto, args.Arg2, args.Arg3, args.Pergunta, args.Tipo, args.Arg6,
                                        args.IdEsquema, args.Arg8});
    return takeOr(MensagemRespostas, MensagemPadrao);
}
