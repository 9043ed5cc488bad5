#include "ConexaoCaixa.h"

#include "Connection.h"
#include "ado/ADO.h"

void ConectaCaixa(TADOConnection& c)
{
    c.ConnectionString = _GetStringConexQrv(QString());
    c.KeepSession = QStringLiteral("adcCaixa");
    c.Open();
    PreparaSessao(c);
}
