#pragma once
// ClassId and the system's CLSID hold the same fields; copied field by field, never as bytes.

#include <windows.h>

#include "translate/target/ClassId.h"

namespace translate::target {

inline CLSID ToClsid(const ClassId& id)
{
    CLSID clsid{id.data1, id.data2, id.data3, {}};
    for (int i = 0; i < 8; ++i)
        clsid.Data4[i] = id.data4[i];
    return clsid;
}

inline ClassId FromClsid(const CLSID& clsid)
{
    ClassId id;
    id.data1 = clsid.Data1;
    id.data2 = clsid.Data2;
    id.data3 = clsid.Data3;
    for (int i = 0; i < 8; ++i)
        id.data4[i] = clsid.Data4[i];
    return id;
}

}  // namespace translate::target
