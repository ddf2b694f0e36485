#include "gui/PromptPopup.h"
#include "gui/ISwitchLbl.h"
#include "tests/gui/ControlFixture.h"

namespace {

constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};

// The test effect with parameter 3 turned into a choice of twelve months.
class MonthEffect : public GuiTestEffect {
public:
    MonthEffect() {
        IParamModel* month = ParamAt(3);
        month->DefineEnum("Month", 0, 12, "");
        for (int i = 0; i < 12; ++i) month->AddDisplayText(i, kMonths[i]);
    }
};

struct Popup : ::testing::Test {
    MonthEffect plug;
    FakeWindow window;
    IGraphics graphics{plug, 600, 475};
    std::vector<std::string> journal;

    void SetUp() override {
        graphics.PrepareDraw();
        graphics.AttachWindow(window);
        graphics.SetHandleMouseOver(true);
        UsePromptPopup(graphics);
    }
    ProbeControl& Owner(int paramIndex, const IBox& rect = {100, 100, 140, 130}) {
        auto control = std::make_unique<ProbeControl>(plug, rect, paramIndex, "owner", journal);
        ProbeControl& added = *control;
        graphics.AddControl(std::move(control));
        return added;
    }
    // Right-clicks the control and answers the list that opened.
    PromptPopup& Open(const ProbeControl& owner) {
        const IBox& r = owner.Rect();
        graphics.DispatchMouseDown(r.left + 1, r.top + 1, {.right = true});
        graphics.DispatchMouseUp(r.left + 1, r.top + 1, {});
        auto* popup = dynamic_cast<PromptPopup*>(graphics.OpenPopup());
        EXPECT_NE(popup, nullptr);
        graphics.DrawDirty({0, 0, 600, 475});
        plug.edits.clear();
        journal.clear();
        return *popup;
    }
    // What the owners were told.
    std::vector<std::string> Results() const {
        std::vector<std::string> results;
        for (const std::string& entry : journal)
            if (entry.find(" popup ") != std::string::npos) results.push_back(entry);
        return results;
    }
    uint32_t Pixel(int x, int y) const { return graphics.DrawRaster()->PixelAt(x, y); }
};

} // namespace

TEST_F(Popup, FourChoicesOpenCentredAsFourRowsAndAHoveredClickChooses) {
    const ProbeControl& owner = Owner(2);
    PromptPopup& popup = Open(owner);
    EXPECT_EQ(popup.Rect(), (IBox{83, 73, 157, 157})) << "4 rows of 21, column 70 + 4";
    EXPECT_TRUE(popup.ThumbRect().Empty());
    EXPECT_EQ(popup.Selected(), 1);
    EXPECT_NE(Pixel(150, 73 + 21 + 10), Pixel(150, 73 + 10)) << "the current value is lit";

    graphics.DispatchMouseOver(100, 73 + 2 * 21 + 5, {});
    EXPECT_EQ(popup.HoverItem(), 2);
    graphics.DispatchMouseDown(100, 73 + 2 * 21 + 5, {.left = true});
    EXPECT_EQ(plug.ParamAt(2)->Value(), 2.0);
    EXPECT_EQ(plug.edits, (std::vector<std::string>{"b2", "p2", "e2"}));
    EXPECT_EQ(Results(), std::vector<std::string>{"owner popup 'Saw' 2"});
    EXPECT_EQ(graphics.OpenPopup(), nullptr);
    EXPECT_EQ(graphics.ControlCount(), 1);
    graphics.DispatchMouseUp(100, 73 + 2 * 21 + 5, {});
    EXPECT_EQ(plug.edits.size(), 3u) << "the release after a choice ends no gesture";
}

TEST_F(Popup, UnhoveredClickChoosesNothingAndAClickElsewhereCloses) {
    const ProbeControl& owner = Owner(2);
    Owner(-1, {300, 300, 340, 340});
    PromptPopup& popup = Open(owner);
    graphics.DispatchMouseDown(100, 80, {.left = true});
    graphics.DispatchMouseUp(100, 80, {});
    EXPECT_EQ(graphics.OpenPopup(), &popup);
    graphics.DispatchMouseOver(100, 80, {});
    graphics.DispatchMouseDown(100, 80, {.right = true});
    EXPECT_EQ(graphics.OpenPopup(), &popup) << "only the left button chooses";
    EXPECT_TRUE(Results().empty());
    EXPECT_EQ(plug.ParamAt(2)->Value(), 1.0);

    graphics.DispatchMouseDown(310, 310, {.left = true});
    EXPECT_EQ(graphics.OpenPopup(), nullptr);
    EXPECT_EQ(Results(), std::vector<std::string>{"owner popup '' -1"});
}

TEST_F(Popup, TwelveChoicesScrollWithAThumbAndOpenAtTheCurrentValue) {
    plug.SetParamFromEditor(3, 1.0);
    const ProbeControl& owner = Owner(3, {200, 200, 240, 230});
    PromptPopup& popup = Open(owner);
    const IBox r = popup.Rect();
    EXPECT_EQ(r.H(), 6 * 21);
    EXPECT_EQ(r.W(), 9 * 7 + 28 + 15) << "widest item \"September\" plus the scroll bar";
    const IBox thumb = popup.ThumbRect();
    EXPECT_EQ(thumb.H(), 94);
    EXPECT_EQ(thumb.top, r.top + 30 + 1) << "scrolled to the end";
    EXPECT_EQ(popup.FirstVisible(), 6);

    const auto thumbPos = [&] { return popup.ThumbRect().top - r.top - 1; };
    graphics.DispatchMouseWheel(thumb.left + 2, r.top + 50, {}, 2);
    EXPECT_EQ(thumbPos(), 24) << "3 pixels up per step";
    graphics.DispatchMouseWheel(thumb.left + 2, r.top + 50, {}, -5);
    EXPECT_EQ(thumbPos(), 30);

    graphics.DispatchMouseOver(thumb.left + 2, r.top + 60, {});
    EXPECT_EQ(popup.HoverItem(), -1) << "on the thumb";
    graphics.DispatchMouseOver(thumb.left + 2, r.top + 5, {});
    EXPECT_EQ(popup.HoverItem(), -2) << "on the track above it";
    graphics.DispatchMouseDown(thumb.left + 2, r.top + 5, {.left = true});
    EXPECT_EQ(thumbPos(), 0) << "the thumb's middle jumps towards the pointer";
    graphics.DispatchMouseDrag(thumb.left + 2, r.top + 20, {.left = true});
    EXPECT_EQ(thumbPos(), 15);
    graphics.DispatchMouseUp(thumb.left + 2, r.top + 20, {});
    graphics.DrawDirty({0, 0, 600, 475});
    EXPECT_EQ(popup.FirstVisible(), 3);

    graphics.DispatchMouseOver(r.left + 20, r.top + 21 + 5, {});
    graphics.DispatchMouseDown(r.left + 20, r.top + 21 + 5, {.left = true});
    EXPECT_EQ(plug.ParamAt(3)->Value(), 4.0);
    EXPECT_EQ(Results(), std::vector<std::string>{"owner popup 'May' 4"});
}

TEST_F(Popup, AClickOnASwitchThatClosedTheListLeavesTheNextRightClickWorking) {
    raster::Raster picture(20, 40);
    const IBitmapRef frames{&picture, 20, 40, 2, 0};
    graphics.AddControl(std::make_unique<ISwitchLbl>(plug, 2, 300, 300, frames, LabelStyle(0), 0, 0,
                                                     IBitmapLayout::Stacked, 0.2f));
    const ProbeControl& owner = Owner(2);
    Open(owner);
    graphics.DispatchMouseDown(305, 305, {.left = true});
    graphics.DispatchMouseUp(305, 305, {});
    ASSERT_EQ(graphics.OpenPopup(), nullptr);
    graphics.DispatchMouseDown(305, 305, {.right = true});
    EXPECT_NE(graphics.OpenPopup(), nullptr);
}
