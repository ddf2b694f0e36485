#include "host/EventList.h"

namespace serivane::host {

using namespace Steinberg;

EventList::EventList(int32 capacity) {
    events_.reserve(static_cast<std::size_t>(capacity));
}

int32 PLUGIN_API EventList::getEventCount() {
    return static_cast<int32>(events_.size());
}

tresult PLUGIN_API EventList::getEvent(int32 index, Vst::Event& e) {
    if (index < 0 || index >= getEventCount()) return kResultFalse;
    e = events_[static_cast<std::size_t>(index)];
    return kResultOk;
}

tresult PLUGIN_API EventList::addEvent(Vst::Event& e) {
    if (events_.size() == events_.capacity()) return kResultFalse;
    events_.push_back(e);
    return kResultOk;
}

tresult PLUGIN_API EventList::queryInterface(const TUID iid, void** obj) {
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
        FUnknownPrivate::iidEqual(iid, Vst::IEventList::iid)) {
        *obj = this;
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

Vst::Event noteOn(int32 sampleOffset, int16 pitch, float velocity) {
    Vst::Event e{};
    e.sampleOffset = sampleOffset;
    e.type = Vst::Event::kNoteOnEvent;
    e.noteOn.pitch = pitch;
    e.noteOn.velocity = velocity;
    e.noteOn.noteId = -1;
    return e;
}

Vst::Event noteOff(int32 sampleOffset, int16 pitch) {
    Vst::Event e{};
    e.sampleOffset = sampleOffset;
    e.type = Vst::Event::kNoteOffEvent;
    e.noteOff.pitch = pitch;
    e.noteOff.noteId = -1;
    return e;
}

} // namespace serivane::host
