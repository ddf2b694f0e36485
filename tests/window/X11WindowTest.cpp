#include "gui/ITextEntryTarget.h"
#include "gui/x11/IEditorWindowX11.h"
#include "host/VirtualDisplay.h"
#include "host/XInput.h"
#include "tests/gui/GuiFakes.h"
#include "tests/gui/editor/TestEditor.h"

#include <X11/keysym.h>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <xcb/xcb.h>

namespace {

using namespace std::chrono_literals;
using serivane::host::XInput;

// A run loop whose callbacks the test calls itself, on its own thread.
class HandLoop : public IRunLoopLink {
public:
    bool Watch(int, std::function<void()> onReadable) override {
        readable = std::move(onReadable);
        return true;
    }
    bool StartTimer(int ms, std::function<void()> onTick) override {
        intervalMs = ms;
        tick = std::move(onTick);
        return true;
    }
    void StopAll() override {}

    std::function<void()> readable;
    std::function<void()> tick;
    int intervalMs = 0;
};

class X11WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string reason;
        if (!display.start(800, 600, reason)) GTEST_SKIP() << "no virtual X server: " << reason;
        connection = xcb_connect(nullptr, nullptr);
        ASSERT_EQ(xcb_connection_has_error(connection), 0);
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        parent = xcb_generate_id(connection);
        std::uint32_t black = screen->black_pixel;
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, parent, screen->root, 0, 0, 600, 475, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL,
                          &black);
        xcb_map_window(connection, parent);
        xcb_flush(connection);
        effect.AttachEditor(MakeTestEditor(effect));
        input = XInput::connect();
        ASSERT_NE(input, nullptr);
    }
    void TearDown() override {
        window.reset();
        if (connection) xcb_disconnect(connection);
    }

    IGraphics& editor() { return *dynamic_cast<IGraphics*>(effect.Editor()); }

    void OpenByHand() {
        auto link = std::make_unique<HandLoop>();
        loop = link.get();
        window = IEditorWindowX11::Open(editor(), parent, std::move(link));
        ASSERT_NE(window, nullptr);
    }

    // Lets the server deliver what the test sent, then reads it and ticks.
    void Pump(int ticks = 1) {
        input->sync();
        std::this_thread::sleep_for(20ms);
        loop->readable();
        for (int i = 0; i < ticks; ++i) loop->tick();
    }

    // How many pixels of the host window are not black.
    int PaintedPixels() {
        xcb_get_image_reply_t* reply = xcb_get_image_reply(
            connection,
            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, parent, 0, 0, 600, 475, ~0u),
            nullptr);
        if (!reply) return 0;
        const auto* pixels = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(reply));
        int count = 0;
        for (int i = 0; i < xcb_get_image_data_length(reply) / 4; ++i)
            count += (pixels[i] & 0xFFFFFF) != 0;
        std::free(reply);
        return count;
    }

    void PointAt(const IBox& r) {
        input->moveTo(parent, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    serivane::host::VirtualDisplay display;
    xcb_connection_t* connection = nullptr;
    std::uint32_t parent = 0;
    GuiTestEffect effect;
    std::unique_ptr<XInput> input;
    HandLoop* loop = nullptr;
    std::unique_ptr<IEditorWindow> window;
};

TEST_F(X11WindowTest, WithoutAHostLoopItPaintsFromAThreadOfItsOwn) {
    window = OpenEditorWindow(editor(), reinterpret_cast<void*>(std::uintptr_t{parent}), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(editor().IsWindowOpen());
    auto deadline = std::chrono::steady_clock::now() + 5s;
    while (PaintedPixels() < 100000 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    EXPECT_GE(PaintedPixels(), 100000);
    window.reset();
    EXPECT_FALSE(editor().IsWindowOpen());
}

TEST_F(X11WindowTest, TicksAtTheFrameRateAndPaintsOnTheFirstTick) {
    OpenByHand();
    EXPECT_EQ(loop->intervalMs, 41);
    loop->tick();
    xcb_flush(connection);
    EXPECT_GE(PaintedPixels(), 100000);
}

TEST_F(X11WindowTest, AnEnumeratedParameterIsChosenFromADropDown) {
    OpenByHand();
    IControl* control = editor().ControlAtIndex(2 + 2); // background, text field, then params
    ASSERT_EQ(control->ParamIndex(), 2);
    auto* x11 = static_cast<IEditorWindowX11*>(window.get());
    x11->PromptParamInput(*control, *effect.ParamAt(2), true);
    ASSERT_NE(x11->EntryBox(), nullptr);
    EXPECT_EQ(x11->EntryBox()->GetKind(), ValueEntryBox::Kind::DropDown);
    EXPECT_EQ(x11->EntryBox()->Rect().H(), 36 * 4 + 36);
    EXPECT_EQ(x11->EntryBox()->Selected(), 1); // "Square", the default
    effect.edits.clear();
    input->key(XK_Down);
    Pump();
    EXPECT_EQ(x11->EntryBox(), nullptr);
    EXPECT_EQ(effect.edits, (std::vector<std::string>{"b2", "p2", "e2"}));
    EXPECT_EQ(effect.ParamAt(2)->Value(), 2.0); // "Saw"
}

TEST_F(X11WindowTest, ATypedValueIsOneGestureAndACancelledOneSendsNothing) {
    OpenByHand();
    IControl* control = editor().ControlAtIndex(2);
    ASSERT_EQ(control->ParamIndex(), 0);
    auto* x11 = static_cast<IEditorWindowX11*>(window.get());
    effect.edits.clear();
    x11->PromptParamInput(*control, *effect.ParamAt(0), true);
    input->type("7");
    input->key(XK_Return);
    Pump(3);
    EXPECT_EQ(x11->EntryBox(), nullptr);
    EXPECT_EQ(effect.edits, (std::vector<std::string>{"b0", "p0", "e0"}));
    EXPECT_EQ(effect.ParamAt(0)->Value(), 7.0);

    effect.edits.clear();
    x11->PromptParamInput(*control, *effect.ParamAt(0), true);
    input->type("3");
    input->key(XK_Escape);
    Pump(3);
    ASSERT_EQ(x11->EntryBox(), nullptr);
    x11->PromptParamInput(*control, *effect.ParamAt(0), true);
    input->type("4");
    input->moveTo(parent, 300, 460);
    input->click(3);
    Pump(3);
    EXPECT_EQ(x11->EntryBox(), nullptr);
    EXPECT_TRUE(effect.edits.empty());
    EXPECT_EQ(effect.ParamAt(0)->Value(), 7.0);
}

// A right click cancels free text entry and leaves the field's text as it was.
TEST_F(X11WindowTest, FreeTextCommitsOnEnterAndARightClickCancels) {
    OpenByHand();
    IControl* field = editor().ControlAtIndex(1);
    ITextEntryTarget* text = field->TextEntry();
    ASSERT_NE(text, nullptr);
    auto* x11 = static_cast<IEditorWindowX11*>(window.get());
    PointAt(field->Rect());
    input->click(1);
    Pump();
    ASSERT_NE(x11->EntryBox(), nullptr);
    input->type("tuned");
    input->key(XK_Return);
    Pump();
    EXPECT_EQ(x11->EntryBox(), nullptr);
    EXPECT_STREQ(text->Text(), "tuned");

    // Far enough from the first press that this is no double click.
    input->moveTo(parent, field->Rect().left + 40, (field->Rect().top + field->Rect().bottom) / 2);
    input->click(1);
    Pump();
    ASSERT_NE(x11->EntryBox(), nullptr);
    input->type("lost");
    input->moveTo(parent, 300, 460);
    input->click(3);
    Pump();
    EXPECT_EQ(x11->EntryBox(), nullptr);
    EXPECT_STREQ(text->Text(), "tuned");
}

TEST_F(X11WindowTest, TooltipsShowOnlyWhenEnabled) {
    OpenByHand();
    IControl* control = editor().ControlAtIndex(2);
    control->SetTooltip("Level of the test");
    auto* x11 = static_cast<IEditorWindowX11*>(window.get());
    PointAt(control->Rect());
    Pump(IEditorWindowX11::kTooltipDelayTicks + 2);
    EXPECT_FALSE(x11->TooltipShowing());

    editor().SetTooltipsEnabled(true);
    input->moveTo(parent, 1, 1);
    Pump();
    PointAt(control->Rect());
    Pump(IEditorWindowX11::kTooltipDelayTicks + 2);
    EXPECT_TRUE(x11->TooltipShowing());
    input->moveTo(parent, 1, 1);
    Pump();
    EXPECT_FALSE(x11->TooltipShowing());
}

TEST_F(X11WindowTest, ClosingDuringAWheelBurstEndsTheGestureAtOnce) {
    OpenByHand();
    IControl* control = editor().ControlAtIndex(2);
    ASSERT_EQ(control->ParamIndex(), 0);
    PointAt(control->Rect());
    effect.edits.clear();
    input->click(4);
    input->click(4);
    Pump();
    ASSERT_EQ(effect.edits, (std::vector<std::string>{"b0", "p0", "p0"}));
    window.reset();
    EXPECT_EQ(effect.edits, (std::vector<std::string>{"b0", "p0", "p0", "e0"}));
}

} // namespace
