#include "gui/ControlKeys.h"

bool ControlKeyFor(std::uint64_t key, const ArrowKeys& arrows, IKeyCode& code) {
    if (key == ' ')
        code = kKeySpace;
    else if (key == arrows.up)
        code = kKeyUp;
    else if (key == arrows.down)
        code = kKeyDown;
    else if (key == arrows.left)
        code = kKeyLeft;
    else if (key == arrows.right)
        code = kKeyRight;
    else if (key >= '0' && key <= '9')
        code = static_cast<IKeyCode>(kKeyDigit0 + static_cast<int>(key - '0'));
    else if (key >= 'A' && key <= 'Z')
        code = static_cast<IKeyCode>(kKeyLetterA + static_cast<int>(key - 'A'));
    else if (key >= 'a' && key <= 'z')
        code = static_cast<IKeyCode>(kKeyLetterA + static_cast<int>(key - 'a'));
    else
        return false;
    return true;
}
