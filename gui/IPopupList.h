#pragma once

#include "gui/IControl.h"
#include "gui/ITextStyle.h"

// Default look of the parameter popup list.
struct IPopupStyle {
    ITextStyle text{"Arial", 15, {200, 255, 255, 255}};
    IArgb background{245, 50, 50, 50};
    IArgb frame{75, 200, 200, 200};
};

// A list of choices drawn inside the editor over a control bound to an enumerated parameter.
// It is the topmost control while open; a choice goes to its owner.
class IPopupList : public IControl {
public:
    using IControl::IControl;

    virtual void AddItem(const char* text) = 0;
    // Selects the parameter's current value, attaches the owner and shows the list.
    virtual void OpenFor(int paramIndex, IControl* owner) = 0;
};
