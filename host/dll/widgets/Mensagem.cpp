#include "Mensagem.h"

#include <QApplication>
#include <QPointer>
#include <cstdio>

#include "MensagemDialog.h"

namespace {
MensagemHandler& handler()
{
    static MensagemHandler h;
    return h;
}

QString& ultima()
{
    static QString texto;
    return texto;
}
} // namespace

bool MensagemEhPergunta(const QString& pergunta, int tipo)
{
    // Either sign makes it a question: asking is safer than assuming "yes".
    return pergunta.compare(QStringLiteral("S"), Qt::CaseInsensitive) == 0 || tipo == 0 || tipo == 1;
}

QString UltimaMensagem()
{
    return ultima();
}

void LimpaUltimaMensagem()
{
    ultima().clear();
}

MensagemEstilo EstiloEfetivo(bool pergunta, int tipo, MensagemEstilo estilo)
{
    if (!pergunta) {
        estilo.Pergunta = TPerguntaMensagem::Automatica;
        if (estilo.Sinal == TSinalMensagem::Automatico)
            estilo.Sinal = TSinalMensagem::Aviso;
        return estilo;
    }
    if (estilo.Pergunta == TPerguntaMensagem::Automatica)
        estilo.Pergunta = tipo == 0 ? TPerguntaMensagem::Irreversivel : TPerguntaMensagem::Escolha;
    if (estilo.Sinal == TSinalMensagem::Automatico && estilo.Pergunta == TPerguntaMensagem::Irreversivel)
        estilo.Sinal = TSinalMensagem::Aviso;
    return estilo;
}

bool Mensagem(const QString& texto, const QString& arg2, const QString& arg3, const QString& pergunta, int tipo,
              const QString& arg6, const QString& idEsquema, int arg8, TClientDataSet* /*dataSet*/,
              MensagemEstilo estilo)
{
    ultima() = texto;
    if (handler()) {
        MensagemArgs args;
        args.Texto = texto;
        args.Arg2 = arg2;
        args.Arg3 = arg3;
        args.Pergunta = pergunta;
        args.Tipo = tipo;
        args.Arg6 = arg6;
        args.IdEsquema = idEsquema;
        args.Arg8 = arg8;
        args.Estilo = estilo;
        return handler()(args);
    }

    const bool question = MensagemEhPergunta(pergunta, tipo);
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // No screen to ask on: say it where the host's output goes and take
        // the cautious answer.
        std::fprintf(stderr, "%s\n", texto.toUtf8().constData());
        return !question;
    }

    QPointer<TMensagemDialog> dialog = new TMensagemDialog(texto, question, EstiloEfetivo(question, tipo, estilo),
                                                           QApplication::activeWindow());
    dialog->exec();
    const bool answer = dialog ? dialog->Answer() : !question;
    delete dialog.data();
    return question ? answer : true;
}

void Avisa(const QString& texto, TSinalMensagem sinal, const QString& idEsquema)
{
    Mensagem(texto, QString(), QStringLiteral("N"), QStringLiteral("N"), 3, QString(), idEsquema, 0, nullptr,
             {.Sinal = sinal});
}

void SetMensagemHandler(MensagemHandler handler_)
{
    handler() = std::move(handler_);
}
