#include "RdmCancelaProd.h"

void TrdmCancelaProd::DefineOrderStatements()
{
}
