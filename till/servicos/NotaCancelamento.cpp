#include "NotaCancelamento.h"

#include <QDateTime>
#include <QLocale>
#include <algorithm>

#include "DataPacket.h"
#include "EscPos.h"
#include "RelogioCaixa.h"
#include "Wdc00002.h"

namespace {

namespace Nota = Wdc00002::NotaCancelamento;

TDataPacket Pacote(const QVariantList& dados)
{
    return IsDataPacket(dados.value(Nota::Pacote)) ? ToDataPacket(dados.value(Nota::Pacote)) : TDataPacket();
}

QString Campo(const TDataPacket& p, const QVariantList& linha, const char* nome)
{
    return linha.value(p.indexOf(QLatin1String(nome))).toString();
}

QString Quantidade(double q)
{
    return QLocale(QLocale::Portuguese, QLocale::Brazil).toString(q, 'g', QLocale::FloatingPointShortest);
}

} // namespace

QList<TTiqueteCancelamento> SeparaTiquetes(const QVariantList& dados, QStringList& semEndereco)
{
    const TDataPacket p = Pacote(dados);
    QList<TTiqueteCancelamento> tiquetes;
    for (const QVariantList& linha : p.Rows) {
        if (Campo(p, linha, "IDIMPCANITEM") != QLatin1String("S"))
            continue;
        const QString endereco = Campo(p, linha, "DSENDPORTA").trimmed();
        if (endereco.isEmpty()) {
            semEndereco << Campo(p, linha, "NMPRODUTO");
            continue;
        }
        auto it = std::find_if(tiquetes.begin(), tiquetes.end(),
                               [&](const TTiqueteCancelamento& t) { return t.Endereco == endereco; });
        if (it == tiquetes.end())
            it = tiquetes.insert(tiquetes.end(), TTiqueteCancelamento{endereco, {}});
        it->Linhas.append(linha);
    }
    return tiquetes;
}

QString DescricaoTiquete(const QVariantList& dados, const TTiqueteCancelamento& tiquete, QString& mesa,
                         QStringList& produtos)
{
    const TDataPacket p = Pacote(dados);
    mesa = dados.value(Nota::Mesa).toString().trimmed();
    produtos.clear();
    for (const QVariantList& linha : tiquete.Linhas)
        produtos << Quantidade(linha.value(p.indexOf(QStringLiteral("QTPRODCOMVEN"))).toDouble())
                + QStringLiteral(" x ") + Campo(p, linha, "NMPRODUTO");
    const QString pedido = dados.value(Nota::NrComanda).toString().trimmed();
    return pedido.isEmpty() ? dados.value(Nota::ComandaMostrada).toString().trimmed() : pedido;
}

QByteArray CompoeTiquete(const QVariantList& dados, const TTiqueteCancelamento& tiquete, const QString& pagina)
{
    const TDataPacket p = Pacote(dados);
    const auto rotulo = [&](int i, int valor) {
        return dados.value(i).toString() + QLatin1Char(' ') + dados.value(valor).toString();
    };
    TEscPos t(pagina);
    t.Duplo(true).Negrito(true).Linha(dados.value(Nota::Titulo).toString().trimmed()).Negrito(false).Duplo(false);
    t.Linha(rotulo(Nota::RotCupom, Nota::ComandaMostrada));
    if (!dados.value(Nota::Mesa).toString().trimmed().isEmpty())
        t.Linha(rotulo(Nota::RotMesa, Nota::Mesa));
    t.Linha(rotulo(Nota::RotGarcom, Nota::Garcom));
    t.Linha(rotulo(Nota::RotPedido, Nota::NrComanda));
    const QString grupo = dados.value(Nota::GrupoMotivo).toString().trimmed();
    const QString motivo = dados.value(Nota::Motivo).toString().trimmed();
    if (!grupo.isEmpty() || !motivo.isEmpty())
        t.Linha(dados.value(Nota::RotMotivo).toString() + QLatin1Char(' ')
                + (grupo.isEmpty() || motivo.isEmpty() ? grupo + motivo : grupo + QStringLiteral(" - ") + motivo));
    t.Linha(QString(42, QLatin1Char('-')));
    for (const QVariantList& linha : tiquete.Linhas) {
        const double qt = linha.value(p.indexOf(QStringLiteral("QTPRODCOMVEN"))).toDouble();
        t.Negrito(true).Linha(Quantidade(qt) + QStringLiteral(" x ") + Campo(p, linha, "NMPRODUTO")).Negrito(false);
        const QString pai = Campo(p, linha, "NMPRODUTOPAI");
        if (!pai.isEmpty())
            t.Linha(QStringLiteral("    de ") + pai);
    }
    t.Linha(QString(42, QLatin1Char('-')));
    t.Linha(AgoraCaixa().toString(QStringLiteral("dd/MM/yyyy HH:mm")));
    return t.Corta().Bytes();
}
