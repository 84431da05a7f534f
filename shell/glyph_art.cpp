#include "shell/glyph_art.h"

// The twin of tools/skin/glyphs.py (geometry, shading) and imaging.coverage (rasteriser),
// which drew the committed bitmaps. Every expression keeps the Python's order of floating-point
// operations, so that at 96 DPI each sample falls on the same side of each edge; a change of
// the look goes into both, and the pixel test at 96 DPI ties them.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

#include "shell/display_layout.h"

const std::array<SkinColour, 16> SkinPalette = {{
    // White to teal: the shades a glyph edge may take (see glyphs.py for why these).
    {255, 255, 255}, {240, 248, 248}, {192, 224, 224}, {128, 224, 224}, {128, 192, 192},
    {0, 192, 192}, {0, 128, 128},
    // The body tile's grey and the calculator's other colours.
    {192, 192, 192}, {128, 128, 128}, {0, 0, 0}, {128, 0, 0}, {255, 0, 0}, {0, 0, 128},
    {128, 0, 255}, {0, 128, 0}, {255, 255, 176},
}};

namespace {

constexpr std::size_t RampSize = 7;
constexpr std::uint8_t WhiteIndex = 0;
constexpr std::uint8_t TealIndex = 6;
constexpr std::uint8_t SilverIndex = 7;

constexpr int MaxDpi = 16 * BaseDpi;
constexpr std::size_t MaxSide = 64 * MaxDpi / BaseDpi;  // beyond any glyph or tile

// Design units: one unit across is two bitmap columns at 96 DPI (glyphs are drawn at half
// width), one unit down is one row. Shapes sit in the band Top..Base whatever the glyph height.
constexpr double Top = 1.7;
constexpr double Base = 38.3;
constexpr double Bar = 4.6;     // thickness of the horizontal segments
constexpr double Stroke = 3.6;  // thickness of the vertical segments
constexpr double Width = 12.0;  // upright width of a digit
constexpr double Slant = 2.6;   // how far the top leans right of the foot
constexpr double Gap = 0.6;     // space between neighbouring segments
constexpr double ColumnsPerUnit = 2.0;
constexpr int Samples = 8;      // per pixel, across and down

struct Point {
    double x, y;
};

// Every shape is a convex polygon of at most six corners.
struct Polygon {
    std::array<Point, 6> points{};
    std::size_t count = 0;
};

template <std::size_t N>
Polygon MakePolygon(const Point (&points)[N]) {
    static_assert(N <= 6);
    Polygon polygon;
    std::copy(points, points + N, polygon.points.begin());
    polygon.count = N;
    return polygon;
}

double TwiceArea(const Polygon& p) {
    double area = 0;
    for (std::size_t k = 0; k < p.count; ++k) {
        const Point a = p.points[k], b = p.points[(k + 1) % p.count];
        area += a.x * b.y - b.x * a.y;
    }
    return area;
}

// The polygon with every edge moved inward by distance: each corner is where the moved
// edge before it meets the moved edge after it.
Polygon Inset(const Polygon& p, double distance) {
    const double turn = TwiceArea(p) > 0 ? 1.0 : -1.0;
    std::array<Point, 6> origins{}, directions{};
    for (std::size_t k = 0; k < p.count; ++k) {
        const Point a = p.points[k], b = p.points[(k + 1) % p.count];
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double length = std::sqrt(dx * dx + dy * dy);
        const double nx = -dy / length * turn, ny = dx / length * turn;
        origins[k] = {a.x + nx * distance, a.y + ny * distance};
        directions[k] = {dx, dy};
    }
    Polygon out;
    out.count = p.count;
    for (std::size_t k = 0; k < p.count; ++k) {
        const std::size_t before = (k + p.count - 1) % p.count;
        const Point q = origins[k], d = directions[before], e = directions[k];
        const Point o = origins[before];
        const double cross = d.x * e.y - d.y * e.x;
        const double t = ((q.x - o.x) * e.y - (q.y - o.y) * e.x) / cross;
        out.points[k] = {o.x + d.x * t, o.y + d.y * t};
    }
    return out;
}

// Leans an upright shape right by Slant over the band and moves it to left.
Polygon Shear(Polygon p, double left) {
    for (std::size_t k = 0; k < p.count; ++k) {
        Point& point = p.points[k];
        point.x = left + point.x + Slant * (Base - point.y) / (Base - Top);
    }
    return p;
}

// The upright segment a-g, x from 0 to Width. Outer corners are mitred, so that a lit corner
// reads as one bent stroke; at the middle the verticals and the bar end in shared points.
Polygon Segment(char name) {
    constexpr double w = Width, s = Stroke, t = Bar, top = Top, base = Base;
    constexpr double mid = (Top + Base) / 2;
    switch (name) {
        case 'a':
            return MakePolygon({{0, top}, {w, top}, {w - s, top + t}, {s, top + t}});
        case 'd':
            return MakePolygon({{s, base - t}, {w - s, base - t}, {w, base}, {0, base}});
        case 'g':
            return MakePolygon({{s / 2, mid}, {s, mid - t / 2}, {w - s, mid - t / 2},
                                {w - s / 2, mid}, {w - s, mid + t / 2}, {s, mid + t / 2}});
        case 'f':
            return MakePolygon(
                {{0, top}, {s, top + t}, {s, mid - t / 2}, {s / 2, mid}, {0, mid - t / 2}});
        case 'e':
            return MakePolygon(
                {{0, mid + t / 2}, {s / 2, mid}, {s, mid + t / 2}, {s, base - t}, {0, base}});
        case 'b':
            return MakePolygon({{w, top}, {w, mid - t / 2}, {w - s / 2, mid},
                                {w - s, mid - t / 2}, {w - s, top + t}});
        default:  // 'c'
            return MakePolygon({{w - s, mid + t / 2}, {w - s / 2, mid}, {w, mid + t / 2},
                                {w, base}, {w - s, base - t}});
    }
}

struct GlyphDesign {
    char glyph;
    int width, height;       // of the bitmap at 96 DPI
    std::string_view lit;    // segments of a digit
};

constexpr GlyphDesign Glyphs[] = {
    {'0', 35, 39, "abcdef"}, {'1', 36, 41, "bc"},     {'2', 35, 39, "abdeg"},
    {'3', 35, 39, "abcdg"},  {'4', 36, 40, "bcfg"},   {'5', 34, 39, "acdfg"},
    {'6', 35, 39, "acdefg"}, {'7', 36, 40, "abc"},    {'8', 35, 39, "abcdefg"},
    {'9', 33, 39, "abcdfg"}, {'.', 12, 40, ""},       {',', 8, 39, ""},
    {'-', 25, 40, ""},
};

struct Shapes {
    std::array<Polygon, 7> polygons{};
    std::size_t count = 0;

    void Add(const Polygon& polygon) { polygons[count++] = polygon; }
};

// The shapes of a glyph whose cell is cell units wide.
Shapes ShapesFor(const GlyphDesign& design, double cell) {
    Shapes shapes;
    constexpr double middle = (Top + Base) / 2;
    if (!design.lit.empty()) {
        const double left = (cell - Width - Slant) / 2;
        for (char name : design.lit) {
            shapes.Add(Shear(Inset(Segment(name), Gap / 2), left));
        }
    } else if (design.glyph == '-') {
        // A bar with pointed ends, centred on the cell at mid-height, where the slant has
        // moved it by half.
        const double length = Width - 1.0;
        const double x0 = (cell - length - Slant) / 2, x1 = x0 + length, half = Bar / 2;
        const Polygon bar = MakePolygon({{x0, middle}, {x0 + half, middle - half},
                                         {x1 - half, middle - half}, {x1, middle},
                                         {x1 - half, middle + half}, {x0 + half, middle + half}});
        shapes.Add(Shear(Inset(bar, Gap / 2), 0));
    } else if (design.glyph == '.') {
        // The size of a vertical stroke, standing on the baseline like the foot bar.
        const double x0 = (cell - Stroke - Slant * Bar / (Base - Top)) / 2;
        const Polygon square = MakePolygon(
            {{x0, Base - Bar}, {x0 + Stroke, Base - Bar}, {x0 + Stroke, Base}, {x0, Base}});
        shapes.Add(Shear(Inset(square, Gap / 2), 0));
    } else {
        // A wedge leaning left from the height of the point down to the foot of the cell,
        // so that it cannot be taken for the point beside it.
        const Polygon wedge = MakePolygon({{1.6, Base - Bar - 0.4}, {3.9, Base - Bar - 0.4},
                                           {1.5, Base + 1.0}, {0.1, Base + 1.0}});
        shapes.Add(Shear(Inset(wedge, Gap / 2), 0));
    }
    return shapes;
}

// An edge from start, run across and rise down: a sample (x, y) is on the shape's side when
// side * (run * (y - start.y) - rise * (x - start.x)) is not negative, the Python's test term
// by term.
struct Edge {
    Point start;
    double run, rise, side;
    double slope;  // run / rise, only to guess where a row crosses the edge
};

struct PreparedShape {
    std::array<Edge, 6> edges{};
    std::size_t count = 0;
    double top = 0, bottom = 0;  // rows beyond these, by far more than any rounding, miss it
};

PreparedShape Prepare(const Polygon& p) {
    constexpr double clear = 1e-3;
    PreparedShape shape;
    shape.count = p.count;
    const double side = TwiceArea(p) > 0 ? 1.0 : -1.0;
    shape.top = shape.bottom = p.points[0].y;
    for (std::size_t k = 0; k < p.count; ++k) {
        const Point a = p.points[k], b = p.points[(k + 1) % p.count];
        const double run = b.x - a.x, rise = b.y - a.y;
        shape.edges[k] = {a, run, rise, side, rise == 0 ? 0 : run / rise};
        shape.top = std::min(shape.top, a.y);
        shape.bottom = std::max(shape.bottom, a.y);
    }
    shape.top -= clear;
    shape.bottom += clear;
    return shape;
}

// Counts, per pixel, the samples inside the shapes, exactly as testing every
// sample against every edge would: the sample positions grow with their index and each edge
// test is monotone in the position, so per sample row every edge keeps a run of samples that
// starts or ends at one index, found from its guessed crossing by stepping.
class Coverage {
public:
    // hits: width * height counters, zero, which Add raises.
    Coverage(std::uint8_t* hits, int width, int height, double xScale, double yScale)
        : hits_(hits), width_(width), height_(height), xScale_(xScale), yScale_(yScale) {
        sampleX_.assign(std::min(static_cast<std::size_t>(width) * Samples, MaxSide * Samples), 0);
        for (std::size_t m = 0; m < sampleX_.size(); ++m) {
            sampleX_[m] = (static_cast<double>(m) + 0.5) / Samples / xScale;
        }
    }

    void Add(const Shapes& shapes) {
        std::array<PreparedShape, 7> prepared{};
        for (std::size_t k = 0; k < shapes.count; ++k) {
            prepared[k] = Prepare(shapes.polygons[k]);
        }
        const int rows = height_ * Samples;
        for (int r = 0; r < rows; ++r) {
            const double y = (r + 0.5) / Samples / yScale_;
            // The gap keeps the shapes apart, so no sample is in two of them.
            for (std::size_t k = 0; k < shapes.count; ++k) {
                if (y >= prepared[k].top && y <= prepared[k].bottom) {
                    const auto [first, last] = SamplesInside(prepared[k], y);
                    AddRun(r / Samples, first, last);
                }
            }
        }
    }

private:
    // The first and last sample index of row y inside the shape (first > last if none).
    std::pair<int, int> SamplesInside(const PreparedShape& shape, double y) const {
        int first = 0, last = static_cast<int>(sampleX_.size()) - 1;
        for (std::size_t k = 0; k < shape.count && first <= last; ++k) {
            const Edge& e = shape.edges[k];
            const double across = e.run * (y - e.start.y);
            const auto keeps = [&](int m) {
                const double x = sampleX_[static_cast<std::size_t>(m)];
                return !(e.side * (across - e.rise * (x - e.start.x)) < 0);
            };
            if (e.rise == 0) {  // the same for every sample of the row
                if (!keeps(0)) {
                    return {0, -1};
                }
                continue;
            }
            const double guess = (e.start.x + e.slope * (y - e.start.y)) * xScale_ * Samples;
            int m = static_cast<int>(std::clamp(guess, first - 1.0, last + 1.0));
            if (e.side * e.rise > 0) {  // keeps the samples left of the crossing
                m = std::min(m, last);
                while (m >= first && !keeps(m)) --m;
                while (m < last && keeps(m + 1)) ++m;
                last = m;
            } else {  // keeps the samples right of the crossing
                m = std::max(m, first);
                while (m <= last && !keeps(m)) ++m;
                while (m > first && keeps(m - 1)) --m;
                first = m;
            }
        }
        return {first, last};
    }

    void AddRun(int row, int first, int last) {
        std::uint8_t* counts = hits_ + static_cast<std::ptrdiff_t>(row) * width_;
        for (int m = first; m <= last;) {
            const int column = m / Samples;
            const int end = std::min(last, column * Samples + Samples - 1);
            counts[column] = static_cast<std::uint8_t>(counts[column] + end - m + 1);
            m = end + 1;
        }
    }

    std::uint8_t* hits_;
    int width_, height_;
    double xScale_, yScale_;
    std::vector<double> sampleX_;
};

double Luma(const SkinColour& colour) {
    return 0.299 * colour.red + 0.587 * colour.green + 0.114 * colour.blue;
}

// The nearest shade of the ramp, by luminance, for each count of samples covered.
std::array<std::uint8_t, Samples * Samples + 1> ShadeTable() {
    std::array<std::uint8_t, Samples * Samples + 1> table{};
    const double teal = Luma(SkinPalette[TealIndex]);
    for (std::size_t hits = 0; hits < table.size(); ++hits) {
        const double cover = static_cast<double>(hits) / (Samples * Samples);
        const double target = 255 - cover * (255 - teal);
        double best = std::abs(Luma(SkinPalette[0]) - target);
        for (std::size_t k = 1; k < RampSize; ++k) {
            const double distance = std::abs(Luma(SkinPalette[k]) - target);
            if (distance < best) {  // ties keep the lighter shade
                best = distance;
                table[hits] = static_cast<std::uint8_t>(k);
            }
        }
    }
    return table;
}

// An art of width x height pixels of the given colour. The bound lets the compiler see that no
// length can overflow, so that no throwing path of the library is linked into the program.
GlyphArt BlankArt(int width, int height, std::uint8_t colour) {
    GlyphArt art{width, height, {}};
    const auto side = [](int length) {
        return std::min(static_cast<std::size_t>(std::max(length, 0)), MaxSide);
    };
    art.pixels.assign(side(width) * side(height), colour);
    return art;
}

}  // namespace

GlyphArt RenderGlyph(char glyph, int dpi) {
    const auto design = std::find_if(std::begin(Glyphs), std::end(Glyphs),
                                   [glyph](const GlyphDesign& g) { return g.glyph == glyph; });
    if (design == std::end(Glyphs) || dpi < 1 || dpi > MaxDpi) {
        return {};
    }
    GlyphArt art = BlankArt(Scaled(design->width, dpi), Scaled(design->height, dpi), 0);
    // Rows and columns are divided by the scale rather than the shapes multiplied by it, so
    // that at 96 DPI every number is the Python's.
    const double scale = static_cast<double>(dpi) / BaseDpi;
    const double cell = art.width / 2.0 / scale;
    Coverage(art.pixels.data(), art.width, art.height, ColumnsPerUnit * scale, scale)
        .Add(ShapesFor(*design, cell));
    const auto shades = ShadeTable();
    for (std::uint8_t& pixel : art.pixels) {
        pixel = shades[std::min<std::size_t>(pixel, Samples * Samples)];
    }
    return art;
}

GlyphArt RenderBodyTile(int dpi) {
    if (dpi < 1 || dpi > MaxDpi) {
        return {};
    }
    // Light grey crossed by a white diagonal from the top-right corner to the bottom-left one,
    // wrapping round, so that it runs on across tiles; as wide as one pixel at 96 DPI.
    const int size = std::max(Scaled(8, dpi), 1);
    const int line = std::max(Scaled(1, dpi), 1);
    GlyphArt art = BlankArt(size, size, SilverIndex);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if ((x + y) % size >= size - line) {
                art.pixels[static_cast<std::size_t>(y * size + x)] = WhiteIndex;
            }
        }
    }
    return art;
}
