#pragma once

#include "pluginterfaces/vst/ivstevents.h"

#include <vector>

namespace serivane::host {

// The events of one block, with storage reserved up front so that adding never allocates.
class EventList : public Steinberg::Vst::IEventList {
public:
    explicit EventList(Steinberg::int32 capacity);
    virtual ~EventList() = default;

    void clear() { events_.clear(); }

    Steinberg::int32 PLUGIN_API getEventCount() override;
    Steinberg::tresult PLUGIN_API getEvent(Steinberg::int32 index,
                                           Steinberg::Vst::Event& e) override;
    Steinberg::tresult PLUGIN_API addEvent(Steinberg::Vst::Event& e) override;

    // The host owns this object; the plug-in only borrows it during a block.
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    std::vector<Steinberg::Vst::Event> events_;
};

// A note-on or note-off event for channel 0 at a sample offset of the block.
Steinberg::Vst::Event noteOn(Steinberg::int32 sampleOffset, Steinberg::int16 pitch, float velocity);
Steinberg::Vst::Event noteOff(Steinberg::int32 sampleOffset, Steinberg::int16 pitch);

} // namespace serivane::host
