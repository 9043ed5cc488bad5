#include "FrmCancelaProd.h"

void TfrmCancelaProd::sbtCancelarClick() {}
