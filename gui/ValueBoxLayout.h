#pragma once

#include "gui/GuiTypes.h"
#include "gui/ITextStyle.h"

#include <string>
#include <vector>

class IParamModel;

// Where the typed-value boxes open over a control, and what they open with. Centred boxes sit on
// the control's centre; the others take the control's own rectangle.

// An edit box sized for the longest value text (the display of the parameter's maximum).
IBox EditBoxRect(const IBox& control, int longestText, bool centred);
// A drop-down list of count entries, the longest longestText characters.
IBox DropDownRect(const IBox& control, int count, int longestText, bool centred);

// A parameter's box: an edit box holding the current value's text, or, for an enumerated or
// boolean parameter with display texts, a drop-down list of them with the current one selected
// (-1 when none is).
struct ParamEntry {
    bool list = false;
    IBox rect;
    std::string text;
    std::vector<std::string> items;
    int selected = -1;
};
ParamEntry ParamEntryFor(const IBox& control, const IParamModel& param, bool centred);

// A text control's edit box aligns its text left or right as the control does, else centred.
ITextAlign TextEntryAlign(ITextAlign controlAlign);
