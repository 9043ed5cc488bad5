#include "FrmCancelaProd.h"

#include "Exception.h"

void TfrmCancelaProd::sbtCancelarClick()
{
    // Until the command exists, a press (or a cancel-all run) must fail
    // loudly: it may never look as if the items had been cancelled.
    throw Exception(QStringLiteral("O comando de cancelamento de produtos ainda não está disponível nesta versão. "
                                   "Nenhum item foi cancelado."));
}
