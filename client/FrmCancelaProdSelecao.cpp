#include "FrmCancelaProd.h"

#include <QKeyEvent>

#include "CamposItem.h"
#include "DBGrid.h"
#include "ModuleVariables.h"
#include "ValueFunctions.h"

using namespace Cli_kvp00917;

namespace {

const QString kMarcado = QStringLiteral("C");
const QString kDesmarcado = QStringLiteral("U");

QString Valor(const TClientDataSet& dataSet, const char* field)
{
    return dataSet.FieldByName(QLatin1String(field))->AsString();
}

} // namespace

void TfrmCancelaProd::GravaMarca(const QString& marca)
{
    m_comando.GravaMarca(marca);
}

void TfrmCancelaProd::SegueGrupo(const QString& marca, const QString& comanda, const QString& item, const QString& pai)
{
    // Item numbers restart at 000001 in every comanda, and a table's list
    // holds several comandas: a group is only ever looked for among the rows
    // of the toggled row's own comanda.
    auto mesmaComanda = [&] { return Valor(cdsProduto, "NRCOMANDA") == comanda; };

    if (!EmptyString(pai)) {
        cdsProduto.First();
        while (!cdsProduto.Eof()) {
            if (mesmaComanda()
                && (Valor(cdsProduto, "NRSEQPRODPAI") == pai || Valor(cdsProduto, "NRPRODCOMVEN") == pai))
                GravaMarca(marca);
            cdsProduto.Next();
        }
        return;
    }

    // Children follow while they stand directly below their parent; rows of
    // other comandas in between are stepped over. The cursor ends on the row
    // after the last child (after the row itself when it has none).
    int destino = cdsProduto.RecNo() + 1;
    cdsProduto.Next();
    while (!cdsProduto.Eof()) {
        if (mesmaComanda()) {
            if (Valor(cdsProduto, "NRSEQPRODPAI") != item)
                break;
            GravaMarca(marca);
            destino = cdsProduto.RecNo() + 1;
        }
        cdsProduto.Next();
    }
    cdsProduto.SetRecNo(qMin(destino, cdsProduto.RecordCount()));
}

void TfrmCancelaProd::dbgProdutoDblClick()
{
    // With no row there is nothing to mark (editing an empty list would
    // create a row).
    if (!cdsProduto.Active() || cdsProduto.IsEmpty())
        return;

    QString nova;
    if (Valor(cdsProduto, "IDCHECK") == kDesmarcado) {
        if (Valor(cdsProduto, "IDSTPRCOMVEN") == kEstadoCancelado)
            return;
        nova = kMarcado;
    } else {
        if (boCancelTodos)
            return;
        nova = kDesmarcado;
    }

    const QString comanda = Valor(cdsProduto, "NRCOMANDA");
    const QString item = Valor(cdsProduto, "NRPRODCOMVEN");
    const QString pai = Valor(cdsProduto, "NRSEQPRODPAI");
    GravaMarca(nova);

    if (boCancelTodos)
        return;
    try {
        SegueGrupo(nova, comanda, item, pai);
    } catch (...) {
        // Marks already given stay; the operator sees them on the grid.
    }
}

bool TfrmCancelaProd::dbgProdutoKeyDown(QKeyEvent* key)
{
    const Qt::KeyboardModifiers modificadores = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_Delete && modificadores == Qt::ControlModifier)
        return true;
    if (key->key() == Qt::Key_Space) {
        dbgProdutoDblClick();
        return true;
    }
    return false;
}

void TfrmCancelaProd::dbgProdutoTitleClick(int column)
{
    const TColumn* coluna = dbgProduto->ColumnAt(column);
    if (!coluna || coluna->FieldName != QLatin1String("IDCHECK"))
        return;

    cdsProduto.First();
    if (m_comando.QtdMarcados() > 0) {
        while (!cdsProduto.Eof()) {
            if (Valor(cdsProduto, "IDCHECK") == kMarcado)
                GravaMarca(kDesmarcado);
            cdsProduto.Next();
        }
        m_comando.ZeraMarcados();
    } else {
        while (!cdsProduto.Eof()) {
            if (Valor(cdsProduto, "IDSTPRCOMVEN") != kEstadoCancelado)
                GravaMarca(kMarcado);
            cdsProduto.Next();
        }
    }
    cdsProduto.First();
}
