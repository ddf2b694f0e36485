#include "gui/x11/ValueBoxLayout.h"

#include <algorithm>

IBox EditBoxRect(const IBox& control, int longestText, bool centred) {
    if (!centred) return control;
    const int cx = (control.left + control.right) / 2;
    const int cy = (control.top + control.bottom) / 2;
    const int width = std::max(32, 7 * longestText + 6);
    const int left = cx - width / 2;
    return {left, cy - 8, left + width, cy + 8};
}

IBox DropDownRect(const IBox& control, int count, int longestText, bool centred) {
    const int cx = (control.left + control.right) / 2;
    const int cy = (control.top + control.bottom) / 2;
    if (!centred) return {control.left, cy, control.left + control.W(), cy + control.H()};
    const int width = std::max(24, 8 * longestText + 24);
    const int left = cx - width / 2;
    return {left, cy, left + width, cy + 36 * count + 36};
}
