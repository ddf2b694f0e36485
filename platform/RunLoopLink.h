#pragma once

#include <functional>

// The event loop an editor window runs on: the host's user-interface loop when the host offers
// one, or a thread of the editor's own. Callbacks come on the loop's thread, one at a time.
class IRunLoopLink {
public:
    virtual ~IRunLoopLink() = default;

    // Calls onReadable whenever fd has data to read; false when the loop refuses it.
    virtual bool Watch(int fd, std::function<void()> onReadable) = 0;
    // Calls onTick every intervalMs milliseconds; false when the loop refuses it.
    virtual bool StartTimer(int intervalMs, std::function<void()> onTick) = 0;
    // Ends every watch and timer started through this link; no callback runs afterwards.
    virtual void StopAll() = 0;
};
