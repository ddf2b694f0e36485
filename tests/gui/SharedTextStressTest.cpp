#include "gui/ITextControl.h"
#include "tests/gui/ControlFixture.h"

#include <atomic>
#include <set>
#include <string>
#include <thread>

namespace {

constexpr int kWrites = 20000;

// Texts of different lengths, so that a torn copy would mix lengths and characters.
const std::vector<std::string>& Texts() {
    static const std::vector<std::string> texts = {
        "",
        "Binaural: 7.83Hz",
        "Higher freq. to left",
        std::string(300, 'a'),
        std::string(ISharedText::kCapacity - 1, 'b'),
        "Change freq envelope point",
    };
    return texts;
}

} // namespace

TEST(SharedText, WritersNeverTearTheTextTheWindowPaints) {
    GuiTestEffect plug;
    IGraphics graphics(plug, 300, 60);
    graphics.PrepareDraw();
    auto owned = std::make_unique<ITextControl>(plug, IBox{0, 0, 300, 60}, LabelStyle(12));
    ITextControl& status = *owned;
    graphics.AddControl(std::move(owned));
    const std::set<std::string> known(Texts().begin(), Texts().end());

    std::atomic<int> writersLeft{2};
    const auto writer = [&](size_t first) {
        for (int i = 0; i < kWrites; ++i)
            status.SetText(Texts()[(first + static_cast<size_t>(i)) % Texts().size()].c_str());
        writersLeft.fetch_sub(1);
    };
    // The audio thread and the editor thread write; this thread paints and reads.
    std::thread audio(writer, 0);
    std::thread editor(writer, 3);
    int torn = 0;
    int reads = 0;
    while (writersLeft.load() > 0 || reads < 100) {
        graphics.OnTimerTick();
        if (!known.contains(status.Text())) ++torn;
        ++reads;
    }
    audio.join();
    editor.join();
    EXPECT_EQ(torn, 0);
    EXPECT_TRUE(known.contains(status.Text()));

    status.SetText("last");
    graphics.OnTimerTick();
    EXPECT_STREQ(status.Text(), "last");
    EXPECT_FALSE(status.IsDirty());
}
