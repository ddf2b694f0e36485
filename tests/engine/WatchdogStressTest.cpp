#include "EngineSetup.h"

#include "engine/ParamActions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>

namespace {

// Rendering with a pause long enough for the running watchdog to flag a stall, while another
// thread changes parameters and pushes envelopes under the same lock as the renderer. A
// ThreadSanitizer build of this test proves the hand-offs race-free.
TEST(WatchdogStress, RenderingSurvivesStallsAndConcurrentChanges) {
    ToneEngine engine(false);
    std::mutex pluginMutex;
    {
        std::lock_guard<std::mutex> lock(pluginMutex);
        EngineValues values = DefaultValues();
        values[11] = 1;
        StartEngine(engine, values);
    }
    bool finite = true;
    std::thread audio([&] {
        StereoBlock out(128);
        for (int block = 0; block < 300; ++block) {
            {
                std::lock_guard<std::mutex> lock(pluginMutex);
                engine.Render(nullptr, out.channels, 128, true, block * 128);
            }
            for (int t = 0; t < 128; ++t) finite = finite && std::isfinite(out.left[t]);
            // More than two watchdog intervals without a block: always seen as a stall.
            if (block == 150) std::this_thread::sleep_for(std::chrono::milliseconds(450));
        }
    });
    SegmentEnvelope edit;
    edit.Init(false);
    for (int i = 0; i < 200; ++i) {
        std::lock_guard<std::mutex> lock(pluginMutex);
        engine.ApplyParamKey(3, 1 + i % 16);
        engine.ApplyEnvelopeDefinition(edit, EnvelopeKind::Volume, 2 * (i % 5));
    }
    audio.join();
    EXPECT_TRUE(finite);
}

} // namespace
