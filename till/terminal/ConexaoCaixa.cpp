#include "ConexaoCaixa.h"

#include "ado/ADO.h"
#include "Connection.h"

void ConectaCaixa(TADOConnection& c)
{
    c.ConnectionString = _GetStringConexQrv(QString());
    c.KeepSession = QStringLiteral("adcCaixa");
    c.Open();
    PreparaSessao(c);
}
