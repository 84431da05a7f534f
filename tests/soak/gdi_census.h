#pragma once

// The live GDI objects of this process by GetObjectType's kind. Wine answers GetObjectType
// for a handle that is only its slot number, so asking every slot finds every object
// (GetGuiResources counts nothing under Wine).

#include <windows.h>

#include <array>

using GdiCensus = std::array<int, OBJ_COLORSPACE + 1>;

inline GdiCensus TakeGdiCensus() {
    GdiCensus census{};
    for (ULONG_PTR slot = 0; slot <= 0xFFFF; ++slot) {
        const DWORD kind = GetObjectType(reinterpret_cast<HGDIOBJ>(slot));
        census[kind < census.size() ? kind : 0] += kind != 0 ? 1 : 0;
    }
    return census;
}

// Whether the census sees a pen come and go here at all.
inline bool CensusWorks() {
    const GdiCensus before = TakeGdiCensus();
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    const bool seen = TakeGdiCensus()[OBJ_PEN] == before[OBJ_PEN] + 1;
    DeleteObject(pen);
    return seen && TakeGdiCensus() == before;
}
