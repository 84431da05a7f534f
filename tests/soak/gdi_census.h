#pragma once

// The live GDI objects of this process, counted by kind. Wine answers GetObjectType for a
// handle that is only its slot number (the low word), so asking for every slot finds every
// object; GetGuiResources counts nothing under Wine. CensusWorks tells whether the system
// answers that way at all.

#include <windows.h>

#include <array>
#include <string>

struct GdiCensus {
    static constexpr std::size_t Kinds = OBJ_COLORSPACE + 1;
    std::array<int, Kinds> objects{};  // by GetObjectType's answer

    int Total() const;
    friend bool operator==(const GdiCensus&, const GdiCensus&) = default;
};

GdiCensus TakeGdiCensus();
bool CensusWorks();
// "pens 3, brushes 1, ..." for the kinds present.
std::string Describe(const GdiCensus& census);
