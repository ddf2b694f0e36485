#include "host/EventList.h"

#include <gtest/gtest.h>

namespace serivane::host {
namespace {

using namespace Steinberg;

TEST(EventList, HoldsEventsUpToItsCapacityUntilCleared) {
    EventList events(2);
    Vst::Event on = noteOn(5, 60, 0.5f);
    Vst::Event off = noteOff(300, 60);
    EXPECT_EQ(events.addEvent(on), kResultOk);
    EXPECT_EQ(events.addEvent(off), kResultOk);
    EXPECT_EQ(events.addEvent(on), kResultFalse);
    ASSERT_EQ(events.getEventCount(), 2);

    Vst::Event read{};
    ASSERT_EQ(events.getEvent(0, read), kResultOk);
    EXPECT_EQ(read.type, Vst::Event::kNoteOnEvent);
    EXPECT_EQ(read.sampleOffset, 5);
    EXPECT_EQ(read.noteOn.pitch, 60);
    EXPECT_FLOAT_EQ(read.noteOn.velocity, 0.5f);
    ASSERT_EQ(events.getEvent(1, read), kResultOk);
    EXPECT_EQ(read.type, Vst::Event::kNoteOffEvent);
    EXPECT_EQ(read.sampleOffset, 300);
    EXPECT_EQ(events.getEvent(2, read), kResultFalse);

    events.clear();
    EXPECT_EQ(events.getEventCount(), 0);
    EXPECT_EQ(events.addEvent(on), kResultOk);
}

} // namespace
} // namespace serivane::host
