#pragma once

#include "platform/RunLoopLink.h"

#include <memory>

class IGraphics;

// The editor's window inside a host window. While it exists it shows the graphics context,
// feeds it input and timer ticks on its run loop, and serves it as its platform window;
// destroying it closes the window and detaches it from the graphics context.
class IEditorWindow {
public:
    virtual ~IEditorWindow() = default;

    // The interval of the repaint timer for a frame rate: truncate(1000 / fps) milliseconds.
    static int TimerIntervalMs(int fps) { return 1000 / (fps > 0 ? fps : 24); }
};

// Opens the platform's editor window for graphics as a child of parent (the host's native
// window). Its events and timer run on hostLoop, or on a thread of its own when that is null.
// Null when the window cannot be made; the graphics context is then left without a window.
std::unique_ptr<IEditorWindow> OpenEditorWindow(IGraphics& graphics, void* parent,
                                                std::unique_ptr<IRunLoopLink> hostLoop);
