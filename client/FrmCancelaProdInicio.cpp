// The window's start-up: the command prepares the call (and runs it whole on
// a cancel-all call); the window takes the footer and the button's caption.
#include "FrmCancelaProd.h"

#include <QLabel>

#include "BlendedBitBtn.h"
#include "DBGrid.h"
#include "HostServices.h"
#include "ModuleVariables.h"

using namespace Cli_kvp00917;

void TfrmCancelaProd::InicializaForm(QString nrComanda, QString dsComanda, QString modo, QString nrMesa)
{
    dbgProduto->SetDefaultColors(true);
    m_comando.Inicializa(nrComanda, dsComanda, modo, nrMesa);
    lblCodTela->setText(MontaRodapeGeral(true, QStringLiteral("KVP00917"), QStringLiteral("S")));

    if (boCancelTodos) {
        sbtCancelar->setText(QStringLiteral("&Confirmar Cancelamento"));
        m_comando.CancelaTodos();
        sbtSairClick();
        if (frmCancelaProd)
            frmCancelaProd->close();
    } else {
        sbtCancelar->setText(QStringLiteral("&Cancelar Pedido"));
    }
}
