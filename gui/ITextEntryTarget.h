#pragma once

#include "gui/ITextStyle.h"

// A control that shows a text the user may type over (editable text fields). The window's text
// box reads it to open over the control; the committed text arrives through SetText.
class ITextEntryTarget {
public:
    virtual const char* Text() const = 0;
    virtual const ITextStyle& TextStyle() const = 0;
    virtual bool Editable() const = 0;
    virtual bool Password() const = 0;
    virtual void SetText(const char* text) = 0;

protected:
    ~ITextEntryTarget() = default;
};
