#include "ConexaoCaixa.h"

#include "ado/ADO.h"
#include "Connection.h"

void ConectaCaixa(TADOConnection& c)
{
    c.ConnectionString = _GetStringConexQrv(QString());
    c.KeepSession = QStringLiteral("adcCaixa");
    c.Open();
    // A session taken over was set up when it was first opened.
    if (!c.SessionReused())
        SetADODBSession(c);
}
