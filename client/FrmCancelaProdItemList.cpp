#include "FrmCancelaProd.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>
#include <functional>

#include "BlendedBitBtn.h"
#include "CamposItem.h"
#include "DBGrid.h"
#include "DataSetTableModel.h"
#include "EstiloJanela.h"
#include "EventGuard.h"
#include "Exception.h"
#include "LinhaItem.h"
#include "Mensagem.h"
#include "ModuleVariables.h"
#include "ProdutoItemDelegate.h"
#include "ResultChecks.h"
#include "Srv_kvp00917.h"

using namespace Cli_kvp00917;

namespace {

// The check column's title is "4" of the symbol character set, which is the
// heavy check mark (U+2714). Where a dingbat font is installed it draws the
// mark; otherwise font fallback finds the glyph in any font that has it.
QFont FonteTituloMarca()
{
    QFont font = Arial(13, true);
    const QStringList installed = QFontDatabase::families();
    for (const char* family : {"Dingbats", "D050000L", "ZapfDingbats"}) {
        if (!installed.contains(QLatin1String(family), Qt::CaseInsensitive))
            continue;
        QFont candidate{QString::fromLatin1(family)};
        candidate.setPixelSize(13);
        if (QFontMetrics(candidate).inFontUcs4(0x2714))
            return candidate;
    }
    return font;
}

TColumn Coluna(const QString& field, const QString& title, int width)
{
    TColumn column;
    column.FieldName = field;
    column.Title = title;
    column.Width = width;
    column.TitleFont = Arial(13, true);
    column.TitleColor = kCorTextoTitulo;
    column.TitleBackground = kCorMoldura;
    return column;
}

} // namespace

QList<TFieldDef> TfrmCancelaProd::CamposItem()
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

void TfrmCancelaProd::CriaListaProdutos()
{
    cdsProduto.FieldDefs() = CamposItem();
    cdsProduto.CreateDataSet();
    cdsProdutoCombo.FieldDefs() = CamposItem();
    cdsProdutoCombo.CreateDataSet();

    dtsProduto = new TDataSetTableModel(&cdsProduto, this);
    dbgProduto->setModel(dtsProduto);

    QList<TColumn>& columns = dbgProduto->Columns();
    columns.clear();
    TColumn marca = Coluna(QStringLiteral("IDCHECK"), QString(QChar(0x2714)), 20);
    marca.TitleFont = FonteTituloMarca();
    marca.TitleAlignment = Qt::AlignCenter;
    columns << marca;
    columns << Coluna(QStringLiteral("NMPRODUTO"), QStringLiteral("Produto"), 266);
    columns << Coluna(QStringLiteral("DTHRINCOMVEN"), QStringLiteral("Data"), 144);
    columns << Coluna(QStringLiteral("NRSEQPRODCOM"), QStringLiteral("Gr."), 42);
    columns << Coluna(QStringLiteral("CDVENDEDOR"),
                      cdsProduto.FieldByName(QStringLiteral("CDVENDEDOR"))->DisplayLabel(), TColumn().Width);
    TColumn qtde = Coluna(QStringLiteral("QTPRODCOMVEN"), QStringLiteral("Qtde."), 53);
    qtde.TitleAlignment = Qt::AlignCenter;
    qtde.Alignment = Qt::AlignLeft | Qt::AlignVCenter;
    columns << qtde;
    columns << Coluna(QStringLiteral("NRLUGARMESA"), QStringLiteral("Posição"), TColumn().Width);
    dbgProduto->ApplyColumns();

    // Only the current cell is highlighted, never its whole row.
    dbgProduto->setSelectionBehavior(QAbstractItemView::SelectItems);
    dbgProduto->setSelectionMode(QAbstractItemView::SingleSelection);
    dbgProduto->setItemDelegate(new ProdutoItemDelegate(&cdsProduto, &imgCheck, &imgUncheck, &imgGray, dbgProduto));

    connect(&cdsProduto, &TClientDataSet::AfterScroll, this, [this] { Guarded([this] { cdsProdutoAfterScroll(); }); });
    connect(&cdsProdutoCombo, &TClientDataSet::AfterScroll, this,
            [this] { Guarded([this] { cdsProdutoAfterScroll(); }); });
    connect(dbgProduto, &TDBGrid::DblClick, this, [this] { Guarded([this] { dbgProdutoDblClick(); }); });
    connect(dbgProduto, &TDBGrid::TitleClick, this,
            [this](int column) { Guarded([this, column] { dbgProdutoTitleClick(column); }); });
    dbgProduto->OnKeyDown = [this](QKeyEvent* key) { return dbgProdutoKeyDown(key); };
}

void TfrmCancelaProd::CarregaPacoteItens(TClientDataSet& dataSet, const QVariant& packet)
{
    // The server's column order differs between its two lists; the dataset
    // keeps its declared record layout and takes the columns by name.
    const TDataPacket origem = ToDataPacket(packet);
    for (const TFieldDef& def : CamposItem())
        if (origem.indexOf(def.Name) < 0)
            throw EDatabaseError(QStringLiteral("Campo '%1' ausente na lista de itens do pedido.").arg(def.Name));
    dataSet.SetData(origem);
}

void TfrmCancelaProd::CarregaProdutos()
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
            while (!cdsProduto.Eof()) {
                if (cdsProduto.FieldByName(QStringLiteral("IDCHECK"))->AsString() == QLatin1String("U"))
                    dbgProdutoDblClick();
                cdsProduto.Next();
            }
        }
    } catch (const std::exception& e) {
        const auto* own = dynamic_cast<const Exception*>(&e);
        const QString texto = own ? own->Message() : QString::fromUtf8(e.what());
        Avisa(texto, TSinalMensagem::Automatico, stIdEsquema);
        Abort();
    }
}

void TfrmCancelaProd::CarregaProdutosMantendoMarcas(const QSet<QString>& tratados)
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

void TfrmCancelaProd::FiltroProdCanc(bool value)
{
    cdsProduto.SetFiltered(false);
    cdsProduto.SetFilter(QStringLiteral("IDSTPRCOMVEN <> '6'"));
    if (value)
        cdsProduto.SetFiltered(true);
}

void TfrmCancelaProd::sbtProdCancClick()
{
    boExibeCanc = !boExibeCanc;
    FiltroProdCanc(!boExibeCanc);
}

void TfrmCancelaProd::sbtPrimeiroClick()
{
    cdsProduto.First();
}

void TfrmCancelaProd::sbtRolarCimaClick()
{
    cdsProduto.Prior();
}

void TfrmCancelaProd::sbtRolarBaixoClick()
{
    cdsProduto.Next();
}

void TfrmCancelaProd::sbtUltimoClick()
{
    cdsProduto.Last();
}

void TfrmCancelaProd::cdsProdutoAfterScroll()
{
    if (sbtCancelar)
        sbtCancelar->setEnabled(cdsProduto.Active() && !cdsProduto.IsEmpty());
}
