#include "gdi_census.h"

namespace {

constexpr ULONG_PTR LastSlot = 0xFFFF;
constexpr int ProbePens = 3;

const char* KindName(std::size_t kind) {
    switch (kind) {
        case OBJ_PEN:
            return "pens";
        case OBJ_BRUSH:
            return "brushes";
        case OBJ_DC:
            return "device contexts";
        case OBJ_METADC:
            return "metafile contexts";
        case OBJ_PAL:
            return "palettes";
        case OBJ_FONT:
            return "fonts";
        case OBJ_BITMAP:
            return "bitmaps";
        case OBJ_REGION:
            return "regions";
        case OBJ_METAFILE:
            return "metafiles";
        case OBJ_MEMDC:
            return "memory contexts";
        case OBJ_EXTPEN:
            return "extended pens";
        case OBJ_ENHMETADC:
            return "enhanced metafile contexts";
        case OBJ_ENHMETAFILE:
            return "enhanced metafiles";
        case OBJ_COLORSPACE:
            return "colour spaces";
        default:
            return "unknown objects";
    }
}

}  // namespace

int GdiCensus::Total() const {
    int total = 0;
    for (int count : objects) {
        total += count;
    }
    return total;
}

GdiCensus TakeGdiCensus() {
    GdiCensus census;
    for (ULONG_PTR slot = 0; slot <= LastSlot; ++slot) {
        const DWORD kind = GetObjectType(reinterpret_cast<HGDIOBJ>(slot));
        if (kind != 0) {
            ++census.objects[kind < GdiCensus::Kinds ? kind : 0];
        }
    }
    return census;
}

bool CensusWorks() {
    const GdiCensus before = TakeGdiCensus();
    std::array<HPEN, ProbePens> pens{};
    for (HPEN& pen : pens) {
        pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    }
    const GdiCensus during = TakeGdiCensus();
    for (HPEN pen : pens) {
        DeleteObject(pen);
    }
    const GdiCensus after = TakeGdiCensus();
    return during.objects[OBJ_PEN] == before.objects[OBJ_PEN] + ProbePens && after == before;
}

std::string Describe(const GdiCensus& census) {
    std::string text;
    for (std::size_t kind = 0; kind < census.objects.size(); ++kind) {
        if (census.objects[kind] != 0) {
            text += (text.empty() ? "" : ", ") + std::string(KindName(kind)) + " " +
                    std::to_string(census.objects[kind]);
        }
    }
    return text.empty() ? "none" : text;
}
