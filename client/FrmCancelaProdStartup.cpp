#include "FrmCancelaProd.h"

void TfrmCancelaProd::CriaMensagens()
{
}

void TfrmCancelaProd::InicializaForm(QString, QString, QString, QString)
{
}
