#pragma once

#include "globe/GlobeSysUtils.h"

// The persistent base of every engine class: no fields, only Assign and the
// class name that messages and class lookups use.
class TGlobeRoot {
public:
    virtual ~TGlobeRoot() = default;
    virtual QString ClassName() const = 0;
    // Copies from another object of a compatible class; the base refuses.
    virtual void Assign(const TGlobeRoot& source)
    {
        throw EGlobeException(
            QStringLiteral("Cannot assign a %1 to a %2").arg(source.ClassName(), ClassName()));
    }
};
