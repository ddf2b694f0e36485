#include "gui/ValueBoxLayout.h"

#include "framework/IParamModel.h"

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

ParamEntry ParamEntryFor(const IBox& control, const IParamModel& param, bool centred) {
    ParamEntry entry;
    entry.text = param.FormatValue(param.Value(), false);
    bool choice = param.Type() == IParamType::Enum || param.Type() == IParamType::Bool;
    if (param.DisplayTextCount() == 0 || !choice) {
        int length = static_cast<int>(param.FormatValue(param.Max(), false).size());
        entry.rect = EditBoxRect(control, length, centred);
        return entry;
    }
    entry.list = true;
    std::size_t longest = 0;
    for (int value = static_cast<int>(param.Min()); value <= static_cast<int>(param.Max());
         ++value) {
        const char* text = param.DisplayTextFor(value);
        if (!*text) continue;
        if (entry.text == text) entry.selected = static_cast<int>(entry.items.size());
        entry.items.emplace_back(text);
        longest = std::max(longest, entry.items.back().size());
    }
    entry.rect = DropDownRect(control, static_cast<int>(entry.items.size()),
                              static_cast<int>(longest), centred);
    return entry;
}

ITextAlign TextEntryAlign(ITextAlign controlAlign) {
    return controlAlign == ITextAlign::Left || controlAlign == ITextAlign::Right
               ? controlAlign
               : ITextAlign::Centre;
}
