#include "Exception.h"

Exception::~Exception() = default;

void Abort()
{
    throw EAbort();
}
