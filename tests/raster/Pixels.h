#pragma once

#include "raster/Raster.h"

#include <cstdint>
#include <ostream>

// A stored pixel split into its channels (premultiplied, as the raster keeps them).
struct Px {
    int a, r, g, b;

    static Px Of(std::uint32_t word) {
        return {static_cast<int>(word >> 24), static_cast<int>(word >> 16 & 0xFF),
                static_cast<int>(word >> 8 & 0xFF), static_cast<int>(word & 0xFF)};
    }
    static Px At(const raster::Raster& raster, int x, int y) { return Of(raster.PixelAt(x, y)); }

    friend std::ostream& operator<<(std::ostream& out, const Px& p) {
        return out << "{a " << p.a << ", r " << p.r << ", g " << p.g << ", b " << p.b << "}";
    }
};

// True when every channel is within the tolerance of the other's.
inline bool Near(const Px& x, const Px& y, int tolerance) {
    auto close = [tolerance](int u, int v) { return u - v <= tolerance && v - u <= tolerance; };
    return close(x.a, y.a) && close(x.r, y.r) && close(x.g, y.g) && close(x.b, y.b);
}

// The smallest box holding every pixel whose alpha exceeds the threshold; empty when none.
struct InkBox {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool empty = true;
};

inline InkBox FindInk(const raster::Raster& raster, int threshold = 0) {
    InkBox box;
    for (int y = 0; y < raster.Height(); ++y) {
        for (int x = 0; x < raster.Width(); ++x) {
            if (Px::At(raster, x, y).a <= threshold) continue;
            if (box.empty) box = {x, y, x + 1, y + 1, false};
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x + 1);
            box.bottom = std::max(box.bottom, y + 1);
        }
    }
    return box;
}
