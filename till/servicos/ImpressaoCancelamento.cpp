#include "ImpressaoCancelamento.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <signal.h>
#include <unistd.h>

#include "EnvioImpressora.h"
#include "PastaCaixa.h"
#include "Mensagem.h"
#include "NotaCancelamento.h"

namespace {

void Avisa(const QString& texto)
{
    Mensagem(texto, QString(), QString(), QStringLiteral("N"), 3, QString(), QString(), 0);
}

// Main printer, then its backup; the printer that took it, or empty.
QString Envia(const QString& endereco, const QByteArray& bytes, const TPerifericos& conf, QString& erro)
{
    if (EnviaParaImpressora(endereco, bytes, conf.EsperaMs, erro))
        return endereco;
    const QString reserva = conf.Impressora(endereco).Reserva;
    QString erroReserva;
    if (!reserva.isEmpty() && EnviaParaImpressora(reserva, bytes, conf.EsperaMs, erroReserva))
        return reserva;
    if (!reserva.isEmpty())
        erro += QStringLiteral("; reserva %1: %2").arg(reserva, erroReserva);
    return QString();
}

// A spooled ticket: the printer's address on the first line, then its bytes.
bool GuardaPendente(const QString& endereco, const QByteArray& bytes)
{
    static int sequencia = 0;
    QDir().mkpath(PastaPendentes());
    QSaveFile f(QStringLiteral("%1/%2-%3-%4.tiq")
                    .arg(PastaPendentes(), QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmsszzz")))
                    .arg(::getpid())
                    .arg(++sequencia));
    return f.open(QIODevice::WriteOnly) && f.write(endereco.toUtf8() + '\n' + bytes) >= 0 && f.commit();
}

} // namespace

QString PastaPendentes()
{
    return PastaCaixa() + QStringLiteral("/Tiquetes/Pendentes");
}

void ImprimeCancelamento(const QVariantList& dados, const TPerifericos& conf)
{
    QStringList semEndereco;
    const QList<TTiqueteCancelamento> tiquetes = SeparaTiquetes(dados, semEndereco);
    if (!semEndereco.isEmpty())
        Avisa(QStringLiteral("Cancelamento sem impressora cadastrada, avise a produção: %1")
                  .arg(semEndereco.join(QStringLiteral(", "))));
    for (const TTiqueteCancelamento& t : tiquetes) {
        const TImpressoraConf imp = conf.Impressora(t.Endereco);
        QString erro;
        const QByteArray bytes = CompoeTiquete(dados, t, imp.Pagina);
        if (EnviaParaImpressora(t.Endereco, bytes, conf.EsperaMs, erro))
            continue;
        const QString reserva = imp.Reserva;
        QString erroReserva;
        if (!reserva.isEmpty()
            && EnviaParaImpressora(reserva, CompoeTiquete(dados, t, conf.Impressora(reserva).Pagina), conf.EsperaMs,
                                   erroReserva)) {
            Avisa(QStringLiteral("A impressora %1 não respondeu (%2). O cancelamento foi impresso na impressora "
                                 "reserva %3.")
                      .arg(t.Endereco, erro, reserva));
            continue;
        }
        if (!reserva.isEmpty())
            erro += QStringLiteral("; reserva %1: %2").arg(reserva, erroReserva);
        if (GuardaPendente(t.Endereco, bytes))
            Avisa(QStringLiteral("A impressora %1 não respondeu (%2). O cancelamento ficou guardado e será impresso "
                                 "quando ela voltar; avise a produção.")
                      .arg(t.Endereco, erro));
        else
            Avisa(QStringLiteral("A impressora %1 não respondeu (%2) e o cancelamento não pôde ser guardado em %3. "
                                 "Avise a produção.")
                      .arg(t.Endereco, erro, PastaPendentes()));
    }
}

void DisparaImprimeCancProdutoTill(const QVariantList& dados, QVariantList&)
{
    ImprimeCancelamento(dados, LePerifericos());
}

int ReenviaPendentes(const TPerifericos& conf)
{
    const QDir pasta(PastaPendentes());
    // A ticket taken by a till that ended while sending it goes back in line.
    for (const QString& nome : pasta.entryList({QStringLiteral("*.tiq.*")}, QDir::Files)) {
        const pid_t dono = pid_t(nome.section(QLatin1Char('.'), -1).toLongLong());
        if (dono > 0 && ::kill(dono, 0) < 0 && errno == ESRCH)
            QFile::rename(pasta.filePath(nome), pasta.filePath(nome.section(QLatin1Char('.'), 0, -2)));
    }
    int restantes = 0;
    for (const QString& nome : pasta.entryList({QStringLiteral("*.tiq")}, QDir::Files, QDir::Name)) {
        // Renamed while it is sent, so that another till sharing the folder
        // does not send it too.
        const QString original = pasta.filePath(nome);
        const QString tomado = original + QStringLiteral(".") + QString::number(::getpid());
        if (!QFile::rename(original, tomado))
            continue;
        QFile f(tomado);
        QByteArray conteudo;
        if (f.open(QIODevice::ReadOnly))
            conteudo = f.readAll();
        f.close();
        const qsizetype quebra = conteudo.indexOf('\n');
        QString erro;
        if (quebra > 0
            && !Envia(QString::fromUtf8(conteudo.left(quebra)), conteudo.mid(quebra + 1), conf, erro).isEmpty()) {
            QFile::remove(tomado);
            continue;
        }
        QFile::rename(tomado, original);
        ++restantes;
    }
    return restantes;
}
