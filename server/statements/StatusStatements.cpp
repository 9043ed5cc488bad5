#include "RdmCancelaProd.h"

void TrdmCancelaProd::DefineStatusStatements()
{
}
