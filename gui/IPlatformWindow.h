#pragma once

#include "gui/GuiTypes.h"

class IControl;
class IParamModel;
class ITextEntryTarget;

// What the graphics context asks of the window that shows it. The window layer implements it
// (an X11 child window now, a Windows one later); the graphics context knows nothing else of
// the platform. Every call comes on the window's thread.
class IPlatformWindow {
public:
    virtual ~IPlatformWindow() = default;

    // Copies rect (layout units) of the graphics context's draw raster to the same place in the
    // window; the raster and the window hold IGraphics::Scale() pixels per unit.
    virtual bool PresentToWindow(const IBox& rect) = 0;

    // Opens the typed-value box for a parameter over control: an edit box, or a drop-down list
    // of the display texts for enumerated and boolean parameters that have them. Ignored while
    // a box is open. The committed text comes back through IGraphics::ApplyTextEntry.
    virtual void PromptParamInput(IControl& control, const IParamModel& param, bool centred) = 0;
    // Opens a text edit box over a text control; its committed text comes back the same way.
    virtual void PromptTextInput(IControl& control, ITextEntryTarget& text) = 0;

    // Opens url in the desktop's browser. A non-null confirmText is asked first; errorText,
    // when non-null, is shown when the browser cannot be started. True when it was opened.
    virtual bool OpenUrl(const char* url, const char* title, const char* confirmText,
                         const char* errorText) = 0;

    virtual void SetCursor(ICursor cursor) = 0;
    // A cursor image of the library's resources, by id.
    virtual void SetResourceCursor(int resourceId) = 0;

    // The editor changed its size or scale; the window follows (in pixels), keeping its position.
    virtual void ResizeWindow(int width, int height) = 0;
};
