#include "FrmCancelaProd.h"

void TfrmCancelaProd::dbgProdutoDblClick() {}
bool TfrmCancelaProd::dbgProdutoKeyDown(QKeyEvent*) { return false; }
void TfrmCancelaProd::dbgProdutoTitleClick(int) {}
