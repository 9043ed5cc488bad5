#include "FrmCancelaProd.h"

void TfrmCancelaProd::CriaListaProdutos() {}
void TfrmCancelaProd::CarregaProdutos() {}
void TfrmCancelaProd::FiltroProdCanc(bool) {}
void TfrmCancelaProd::sbtProdCancClick() {}
void TfrmCancelaProd::sbtPrimeiroClick() {}
void TfrmCancelaProd::sbtRolarCimaClick() {}
void TfrmCancelaProd::sbtRolarBaixoClick() {}
void TfrmCancelaProd::sbtUltimoClick() {}
void TfrmCancelaProd::cdsProdutoAfterScroll() {}
