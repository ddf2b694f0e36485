#pragma once

#include "gui/IArgb.h"

#include <algorithm>
#include <cstdint>

// Integer rectangle; right and bottom lie one past the last pixel. All zero means empty.
struct IBox {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool Empty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    int32_t W() const { return right - left; }
    int32_t H() const { return bottom - top; }
    // Every edge counts as inside.
    bool Contains(int32_t x, int32_t y) const {
        return x >= left && x <= right && y >= top && y <= bottom;
    }
    bool Overlaps(const IBox& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    // The zero box unless both are non-empty and overlap.
    IBox Intersect(const IBox& o) const {
        if (Empty() || o.Empty() || !Overlaps(o)) return {};
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                std::min(bottom, o.bottom)};
    }
    IBox Union(const IBox& o) const {
        if (Empty()) return o;
        if (o.Empty()) return *this;
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
                std::max(bottom, o.bottom)};
    }
    bool operator==(const IBox&) const = default;
};

// How a drawing lands on what is already there.
enum class IBlendMode : int32_t { Alpha = 0, Copy = 1, Additive = 2, ColorDodge = 3 };

struct IBlendSpec {
    IBlendMode mode = IBlendMode::Alpha;
    float weight = 1.0f;
};

// Buttons and modifier keys of a mouse event.
struct IMouseState {
    bool left = false;
    bool right = false;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// Keys handed to controls; digits and letters run in order from their first code.
enum IKeyCode : int32_t {
    kKeySpace = 0,
    kKeyUp = 1,
    kKeyDown = 2,
    kKeyLeft = 3,
    kKeyRight = 4,
    kKeyDigit0 = 6,
    kKeyLetterA = 16,
    kKeyLetterZ = 41,
};

// Mouse pointer shapes the editor asks the window for.
enum class ICursor : int32_t { Arrow, ResizeVertical, ResizeHorizontal };
