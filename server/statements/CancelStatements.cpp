#include "RdmCancelaProd.h"

void TrdmCancelaProd::DefineCancelStatements()
{
}
