#pragma once

#include "gui/IControl.h"

// Common base of the knobs; it adds nothing to the control base.
class IKnobControl : public IControl {
public:
    using IControl::IControl;
};
