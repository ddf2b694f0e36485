#pragma once

#include "platform/RunLoopLink.h"

#include "pluginterfaces/gui/iplugview.h"

#include <memory>

// The run loop the host's frame offers the editor window, or null when the platform's window
// gets its events without one or the host offers none.
std::unique_ptr<IRunLoopLink> HostRunLoopOf(Steinberg::IPlugFrame* frame);
// A loop on the host's user-interface thread for the controller's own timer, from initialize to
// terminate: the run loop the host application offers on Linux, a message-only window of the
// calling thread on Windows. Null when there is none.
std::unique_ptr<IRunLoopLink> ControllerRunLoop(Steinberg::FUnknown* hostContext);
