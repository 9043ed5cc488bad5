// The item list of the cancellation command: the server's rows of the order,
// their marks, and the reload after a run.
#include "ComandoCancelamento.h"

#include <QHash>
#include <functional>

#include "CamposItem.h"
#include "Exception.h"
#include "LinhaItem.h"
#include "ResultChecks.h"
#include "Srv_kvp00917.h"
#include "VariaveisModulo.h"

using namespace Cli_kvp00917;

QList<TFieldDef> TComandoCancelamento::CamposItem()
{
    // The server's record, with the mark column after the seat as the screen keeps it.
    QList<TFieldDef> campos = ::CamposItem();
    int marca = 0;
    int lugar = 0;
    for (int i = 0; i < campos.size(); ++i) {
        if (campos[i].Name == QLatin1String("IDCHECK"))
            marca = i;
        else if (campos[i].Name == QLatin1String("NRLUGARMESA"))
            lugar = i;
    }
    campos.move(marca, lugar);
    return campos;
}

void TComandoCancelamento::CarregaPacoteItens(TClientDataSet& dataSet, const QVariant& packet)
{
    // The server's column order differs between its two lists; the dataset
    // keeps its declared record layout and takes the columns by name.
    const TDataPacket origem = ToDataPacket(packet);
    for (const TFieldDef& def : CamposItem())
        if (origem.indexOf(def.Name) < 0)
            throw EDatabaseError(QStringLiteral("Campo '%1' ausente na lista de itens do pedido.").arg(def.Name));
    dataSet.SetData(origem);
}

void TComandoCancelamento::CarregaProdutos()
{
    try {
        doTotRestante = getValAdiantamento(stCdFilial, stNrComanda);
        const QVariant itens = getItemMesa(stCdFilial, stNrComanda, stModo, stCdProdConsum, stCdProdConsuf,
                                           stCdProdCouver);
        const QVariant pacote = MensagemMetodo(itens, true, 0, QStringLiteral("getitemMesa"), kUnidade,
                                               stCdFilial + QLatin1Char('-') + stNrComanda + QLatin1Char('-')
                                                   + stIdEsquema2,
                                               QStringLiteral("002"));
        CarregaPacoteItens(cdsProduto, pacote);
        inQtdMarcados = 0;

        if (boCancelTodos) {
            cdsProduto.First();
            // Every row not cancelled, alone: a cancel-all run takes no group along.
            while (!cdsProduto.Eof()) {
                if (cdsProduto.FieldByName(QStringLiteral("IDCHECK"))->AsString() == QLatin1String("U")
                    && cdsProduto.FieldByName(QStringLiteral("IDSTPRCOMVEN"))->AsString() != kEstadoCancelado)
                    GravaMarca(QStringLiteral("C"));
                cdsProduto.Next();
            }
        }
    } catch (const std::exception& e) {
        const auto* own = dynamic_cast<const Exception*>(&e);
        const QString texto = own ? own->Message() : QString::fromUtf8(e.what());
        stAvisoCarga = texto;
        m_operador.Avisa(texto, stIdEsquema);
        Abort();
    }
}

void TComandoCancelamento::CarregaProdutosMantendoMarcas(const QSet<QString>& tratados)
{
    // A slip after the supervisor and the reason must not make the operator
    // mark everything again; what the run handled, or another till cancelled
    // or changed meanwhile, loses its mark with the reload: the operator
    // decides again on what the row holds now.
    const auto chave = [this] { return TLinhaItem::De(cdsProduto).Chave(); };
    const auto como = [this] {
        return cdsProduto.FieldByName(QStringLiteral("QTPRODCOMVEN"))->AsString() + QLatin1Char('|')
            + cdsProduto.FieldByName(QStringLiteral("IDSTPRCOMVEN"))->AsString();
    };
    const auto todas = [this](const std::function<void()>& cada) {
        const bool filtrada = cdsProduto.Filtered();
        cdsProduto.SetFiltered(false);
        for (cdsProduto.First(); !cdsProduto.Eof(); cdsProduto.Next())
            cada();
        cdsProduto.SetFiltered(filtrada);
        cdsProduto.First();
    };
    QHash<QString, QString> marcadas;
    todas([&] {
        if (cdsProduto.FieldByName(QStringLiteral("IDCHECK"))->AsString() == QLatin1String("C"))
            marcadas.insert(chave(), como());
    });
    CarregaProdutos();
    for (const QString& t : tratados)
        marcadas.remove(t);
    if (marcadas.isEmpty())
        return;
    todas([&] {
        if (cdsProduto.FieldByName(QStringLiteral("IDSTPRCOMVEN"))->AsString() != kEstadoCancelado
            && marcadas.value(chave()) == como())
            GravaMarca(QStringLiteral("C"));
    });
}

void TComandoCancelamento::GravaMarca(const QString& marca)
{
    TField* campo = cdsProduto.FieldByName(QStringLiteral("IDCHECK"));
    const QString anterior = campo->AsString();
    if (anterior == marca)
        return;
    cdsProduto.Edit();
    try {
        campo->SetAsString(marca);
        cdsProduto.Post();
    } catch (...) {
        cdsProduto.Cancel();
        throw;
    }
    if (marca == QLatin1String("C"))
        ++inQtdMarcados;
    else if (anterior == QLatin1String("C"))
        --inQtdMarcados;
}
