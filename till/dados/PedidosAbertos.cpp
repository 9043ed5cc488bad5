#include "PedidosAbertos.h"

#include <QCollator>
#include <QHash>
#include <algorithm>

#include "ArquivosDemo.h"
#include "ConexaoCaixa.h"
#include "Connection.h"
#include "DataSetFile.h"
#include "Exception.h"
#include "FieldDefs.h"
#include "HostServices.h"
#include "ValueFunctions.h"
#include "ado/ADO.h"

namespace {

// Written once for every engine: plain joins, COALESCE and a GROUP BY that
// each of them reads alike, so the list has no dialect of its own.
const QString kPedidos = QStringLiteral(
    "SELECT CO.CDFILIAL, CO.NRCOMANDA, CO.DSCOMANDA, VE.CDLOJA, VE.NRMESA, VE.DTHRABERMESA, MS.IDSTMESAAUX, "
    "COUNT(IT.NRPRODCOMVEN) AS QTLINHAS, "
    "COUNT(CASE WHEN IT.IDSTPRCOMVEN <> '6' THEN IT.NRPRODCOMVEN END) AS QTITENS, "
    "SUM(CASE WHEN IT.IDSTPRCOMVEN <> '6' THEN COALESCE(IT.QTPRODCOMVEN, 0) * COALESCE(IT.VRPRECCOMVEN, 0) "
    "- COALESCE(IT.VRDESCCOMVEN, 0) + COALESCE(IT.VRACRCOMVEN, 0) ELSE 0 END) AS VRTOTAL "
    "FROM COMANDAVEN CO "
    "JOIN VENDAREST VE ON VE.CDFILIAL = CO.CDFILIAL AND VE.NRVENDAREST = CO.NRVENDAREST "
    "LEFT JOIN MESA MS ON MS.CDFILIAL = CO.CDFILIAL AND MS.CDLOJA = VE.CDLOJA AND MS.NRMESA = VE.NRMESA "
    "LEFT JOIN ITCOMANDAVEN IT ON IT.CDFILIAL = CO.CDFILIAL AND IT.NRCOMANDA = CO.NRCOMANDA "
    "AND IT.NRVENDAREST = CO.NRVENDAREST "
    "WHERE VE.DTHRFECHMESA IS NULL AND CO.IDSTCOMANDA <> '4'%1 "
    "GROUP BY CO.CDFILIAL, CO.NRCOMANDA, CO.DSCOMANDA, VE.CDLOJA, VE.NRMESA, VE.DTHRABERMESA, MS.IDSTMESAAUX");
const QString kFiltroFilial = QStringLiteral(" AND CO.CDFILIAL = :P_CDFILIAL");

const QString kJuncoes = QStringLiteral(
    "SELECT MJ.CDFILIAL, MJ.CDLOJA, MJ.NRJUNMESA, MJ.NRMESA FROM JUNCAOMESA JM, MESAJUNCAO MJ "
    "WHERE JM.CDFILIAL = MJ.CDFILIAL AND JM.CDLOJA = MJ.CDLOJA AND JM.NRJUNMESA = MJ.NRJUNMESA");

// The package lists a table's items only for tabs labelled as table service,
// and only when the sale has a table.
TTipoPedido TipoDe(const QString& dsComanda, const QString& nrMesa)
{
    if (dsComanda.startsWith(QLatin1String("DLV_")))
        return TTipoPedido::Entrega;
    if ((dsComanda.startsWith(QLatin1String("RES_")) || dsComanda.startsWith(QLatin1String("PKR_")))
        && !nrMesa.isEmpty())
        return TTipoPedido::Mesa;
    return TTipoPedido::Comanda;
}

QString ChaveMesa(const QString& filial, const QString& loja, const QString& mesa)
{
    return filial + QLatin1Char('\x1f') + loja + QLatin1Char('\x1f') + mesa;
}

} // namespace

TArgumentosChamada ArgumentosChamada(const TPedidoAberto& pedido, bool cancelaTudo)
{
    TArgumentosChamada a{pedido.NrComanda, pedido.DsComanda, QString(), QString()};
    switch (pedido.Tipo) {
    case TTipoPedido::Mesa:
        a.Modo = QStringLiteral("RES");
        a.NrMesa = pedido.NrMesa;
        break;
    case TTipoPedido::Comanda: a.Modo = QStringLiteral("CMD"); break;
    case TTipoPedido::Entrega:
        a.Modo = cancelaTudo ? QStringLiteral("DLV_T") : QStringLiteral("DLV");
        a.NrMesa = cancelaTudo ? QStringLiteral("T") : QString();
        break;
    }
    return a;
}

TBancoTill::TBancoTill() = default;
TBancoTill::~TBancoTill() = default;

void TBancoTill::Conecta()
{
    const QString setting = _GetStringConexQrv(QString());
    // A changed setting takes effect at the next list, as for the package.
    if (m_conexao && (!m_conexao->Connected() || m_conexao->ConnectionString != setting))
        m_conexao.reset();
    if (m_conexao)
        return;
    auto conexao = std::make_unique<TADOConnection>(nullptr, QStringLiteral("adcTill"));
    ConectaCaixa(*conexao);
    m_conexao = std::move(conexao);
}

QString TBancoTill::Nome() const
{
    return m_conexao ? m_conexao->DisplayName() : MaskPassword(_GetStringConexQrv(QString()));
}

QList<TPedidoAberto> TBancoTill::Pedidos(const QString& cdFilial)
{
    Conecta();
    TADOQuery pedidos(m_conexao.get(), QStringLiteral("adqPedidosAbertos"));
    pedidos.SetSQL(kPedidos.arg(cdFilial.isEmpty() ? QString() : kFiltroFilial));
    if (!cdFilial.isEmpty())
        pedidos.SetParam(QStringLiteral("P_CDFILIAL"), cdFilial);
    pedidos.PersistentFields = {StringField(QStringLiteral("CDFILIAL")),
                                StringField(QStringLiteral("NRCOMANDA")),
                                StringField(QStringLiteral("DSCOMANDA")),
                                StringField(QStringLiteral("CDLOJA")),
                                StringField(QStringLiteral("NRMESA")),
                                DateTimeField(QStringLiteral("DTHRABERMESA")),
                                StringField(QStringLiteral("IDSTMESAAUX")),
                                FieldOf(QStringLiteral("QTLINHAS"), TFieldType::ftInteger),
                                FieldOf(QStringLiteral("QTITENS"), TFieldType::ftInteger),
                                FloatField(QStringLiteral("VRTOTAL"))};
    TADOQuery juncoes(m_conexao.get(), QStringLiteral("adqJuncoesMesa"));
    juncoes.SetSQL(kJuncoes);
    try {
        pedidos.Open();
        juncoes.Open();
    } catch (const Exception&) {
        // A session that lost its server is opened afresh at the next list.
        m_conexao.reset();
        throw;
    }

    // Tables of each joining, then each table's companions in the joinings it is in.
    QHash<QString, QStringList> porJuncao;
    QHash<QString, QStringList> juncoesDaMesa;
    for (juncoes.First(); !juncoes.Eof(); juncoes.Next()) {
        const QString filial = juncoes.FieldAsString(QStringLiteral("CDFILIAL"));
        const QString loja = juncoes.FieldAsString(QStringLiteral("CDLOJA"));
        const QString juncao = ChaveMesa(filial, loja, juncoes.FieldAsString(QStringLiteral("NRJUNMESA")));
        const QString mesa = juncoes.FieldAsString(QStringLiteral("NRMESA"));
        porJuncao[juncao] << mesa;
        juncoesDaMesa[ChaveMesa(filial, loja, mesa)] << juncao;
    }

    QCollator numerica;
    numerica.setNumericMode(true);
    QList<TPedidoAberto> lista;
    for (pedidos.First(); !pedidos.Eof(); pedidos.Next()) {
        TPedidoAberto p;
        p.NrComanda = pedidos.FieldAsString(QStringLiteral("NRCOMANDA"));
        p.DsComanda = pedidos.FieldAsString(QStringLiteral("DSCOMANDA"));
        p.NrMesa = pedidos.FieldAsString(QStringLiteral("NRMESA")).trimmed();
        p.Tipo = TipoDe(p.DsComanda, p.NrMesa);
        p.Abertura = pedidos.FieldValue(QStringLiteral("DTHRABERMESA")).toDateTime();
        p.Itens = pedidos.FieldValue(QStringLiteral("QTITENS")).toInt();
        p.Total = pedidos.FieldValue(QStringLiteral("VRTOTAL")).toDouble();
        // A delivery whose every item is cancelled has nothing left to do here.
        if (p.Tipo == TTipoPedido::Entrega && p.Itens == 0
            && pedidos.FieldValue(QStringLiteral("QTLINHAS")).toInt() > 0)
            continue;
        p.EmRecebimento = p.Tipo == TTipoPedido::Mesa
            && MesaBloqueada(pedidos.FieldAsString(QStringLiteral("IDSTMESAAUX")).trimmed());
        if (p.Tipo == TTipoPedido::Mesa) {
            const QString chave = ChaveMesa(pedidos.FieldAsString(QStringLiteral("CDFILIAL")),
                                            pedidos.FieldAsString(QStringLiteral("CDLOJA")), p.NrMesa);
            for (const QString& juncao : juncoesDaMesa.value(chave))
                for (const QString& mesa : porJuncao.value(juncao))
                    if (mesa != p.NrMesa && !p.MesasJuntadas.contains(mesa))
                        p.MesasJuntadas << mesa;
            std::sort(p.MesasJuntadas.begin(), p.MesasJuntadas.end(),
                      [&](const QString& a, const QString& b) { return numerica.compare(a, b) < 0; });
        }
        lista << p;
    }
    std::sort(lista.begin(), lista.end(), [&](const TPedidoAberto& a, const TPedidoAberto& b) {
        if (a.Tipo != b.Tipo)
            return a.Tipo < b.Tipo;
        if (const int m = numerica.compare(a.NrMesa, b.NrMesa))
            return m < 0;
        return numerica.compare(a.NrComanda, b.NrComanda) < 0;
    });
    return lista;
}

QString FilialDoTerminal()
{
    try {
        const TDataPacket parametros = ReadDataSetFile(HostFolder() + QLatin1Char('/') + kArquivoParametros);
        const int k = parametros.indexOf(QStringLiteral("CDFILIAL"));
        if (k >= 0 && !parametros.Rows.isEmpty())
            return parametros.Rows.first().value(k).toString().trimmed();
    } catch (const Exception&) {
        // No parameters file yet: the package says so when an order is chosen.
    }
    return QString();
}
