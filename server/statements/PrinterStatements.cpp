#include "RdmCancelaProd.h"

void TrdmCancelaProd::DefinePrinterStatements()
{
}
