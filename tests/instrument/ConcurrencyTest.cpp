#include "Instance.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

void RenderLocked(CLS_SERIVANE& p, int blocks) {
    for (int b = 0; b < blocks; ++b) {
        std::lock_guard lock(p.Mutex());
        Render(p, 64);
    }
}

} // namespace

// The audio thread, an editor thread and the watchdog work on one instance at once; run under
// ThreadSanitizer this shows the shared state is free of data races.
TEST(Concurrency, AudioEditorAndWatchdogThreadsShareAnInstance) {
    auto p = MakeInstance();
    p->SetSampleRate(48000);
    ApplyAllParameters(*p);
    SetParam(*p, kPlayAnyway, 1);

    std::atomic<bool> done{false};
    std::thread editor([&] {
        for (int i = 0; !done; ++i) {
            p->SetParamFromEditor(kBinaural, (i % 50) / 100.0);
            p->SetParamFromEditor(kQvol2, (i % 7) / 7.0);
            volatile size_t sink = p->StatusText().size() + p->BandText().size();
            (void)sink;
            std::this_thread::yield();
        }
    });

    RenderLocked(*p, 50);
    // Long enough for the watchdog to see two checks without a block.
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    {
        // The first block after the stall fades every tone in from silence.
        std::lock_guard lock(p->Mutex());
        Render(*p, 64);
        const Crossfade& fade = p->Engine().Voices().levelFades[0][0];
        EXPECT_TRUE(fade.active);
        EXPECT_EQ(fade.from, 0.0);
    }
    RenderLocked(*p, 50);
    done = true;
    editor.join();
}
