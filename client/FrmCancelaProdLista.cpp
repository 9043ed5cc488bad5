// The item grid: its columns over the command's list, the filter of the
// cancelled rows and the navigation buttons.
#include "FrmCancelaProd.h"

#include <QFontDatabase>
#include <QFontMetrics>

#include "BlendedBitBtn.h"
#include "DBGrid.h"
#include "DataSetTableModel.h"
#include "EstiloJanela.h"
#include "EventGuard.h"
#include "ProdutoItemDelegate.h"

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

void TfrmCancelaProd::CriaListaProdutos()
{
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
    connect(&m_comando.cdsProdutoCombo, &TClientDataSet::AfterScroll, this,
            [this] { Guarded([this] { cdsProdutoAfterScroll(); }); });
    connect(dbgProduto, &TDBGrid::DblClick, this, [this] { Guarded([this] { dbgProdutoDblClick(); }); });
    connect(dbgProduto, &TDBGrid::TitleClick, this,
            [this](int column) { Guarded([this, column] { dbgProdutoTitleClick(column); }); });
    dbgProduto->OnKeyDown = [this](QKeyEvent* key) { return dbgProdutoKeyDown(key); };
}

void TfrmCancelaProd::CarregaProdutos()
{
    m_comando.CarregaProdutos();
}

void TfrmCancelaProd::CarregaProdutosMantendoMarcas(const QSet<QString>& tratados)
{
    m_comando.CarregaProdutosMantendoMarcas(tratados);
}

void TfrmCancelaProd::FiltroProdCanc(bool value)
{
    cdsProduto.SetFiltered(false);
    cdsProduto.SetFilter(kFiltroNaoCancelados);
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
