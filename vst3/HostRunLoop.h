#pragma once

#include "platform/RunLoopLink.h"

#include "pluginterfaces/gui/iplugview.h"

#include <memory>

// The run loop the host's frame offers the editor window, or null when the platform's window
// gets its events without one or the host offers none.
std::unique_ptr<IRunLoopLink> HostRunLoopOf(Steinberg::IPlugFrame* frame);
