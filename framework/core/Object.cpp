#include "framework/core/Object.h"

#include "framework/core/SysUtils.h"

void TPersistent::Assign(const TPersistent* source)
{
    if (source) {
        source->AssignTo(this);
        return;
    }
    AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* dest) const
{
    throw EConvertError(std::string("Cannot assign a ") + ClassName() + " to a " + dest->ClassName());
}

void TPersistent::DefineProperties(TFiler&) {}
