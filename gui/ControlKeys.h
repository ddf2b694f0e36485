#pragma once

#include "gui/GuiTypes.h"

#include <cstdint>

// The platform's numbers of the arrow keys.
struct ArrowKeys {
    std::uint64_t left;
    std::uint64_t up;
    std::uint64_t right;
    std::uint64_t down;
};

// The key code a control receives for a platform key whose space, digits and letters carry their
// ASCII codes; false for keys controls do not get.
bool ControlKeyFor(std::uint64_t key, const ArrowKeys& arrows, IKeyCode& code);
