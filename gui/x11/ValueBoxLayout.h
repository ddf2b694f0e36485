#pragma once

#include "gui/GuiTypes.h"

// Where the typed-value boxes open over a control. Centred boxes sit on the control's centre;
// the others take the control's own rectangle.

// An edit box sized for the longest value text (the display of the parameter's maximum).
IBox EditBoxRect(const IBox& control, int longestText, bool centred);
// A drop-down list of count entries, the longest longestText characters.
IBox DropDownRect(const IBox& control, int count, int longestText, bool centred);
