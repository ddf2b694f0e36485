// The editor window on Windows, inside a top-level window standing in for the host's, driven by
// the window messages Windows sends it and by its own timer.
#include "gui/win32/IEditorWindowWin.h"
#include "platform/win32/MessagePump.h"
#include "resources/CursorHotspots.h"

#include "tests/gui/GuiFakes.h"
#include "tests/gui/editor/TestControls.h"
#include "tests/gui/editor/TestEditor.h"

#undef LoadBitmap
#undef DrawText

#include "gui/IControl.h"
#include "gui/IGraphics.h"
#include "gui/ITextEntryTarget.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

void Pump(std::chrono::milliseconds duration = 150ms) {
    PumpMessages(duration);
}

LPARAM Centre(const IBox& rect) {
    return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

long Count(const std::vector<std::string>& edits, const std::string& edit) {
    return std::count(edits.begin(), edits.end(), edit);
}

class Win32WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Shown without being activated: Wine then leaves the window to no window manager and
        // destroys it without waiting two seconds for one.
        parent = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 0, 0, 600, 475, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(parent, nullptr);
        ShowWindow(parent, SW_SHOWNA);
        effect.AttachEditor(MakeTestEditor(effect));
    }
    void TearDown() override {
        window.reset();
        DestroyWindow(parent);
    }

    IGraphics& editor() { return *dynamic_cast<IGraphics*>(effect.Editor()); }

    void Open() {
        window = IEditorWindowWin::Open(editor(), parent);
        ASSERT_NE(window, nullptr);
        Pump();
    }

    HWND parent = nullptr;
    GuiTestEffect effect;
    std::unique_ptr<IEditorWindowWin> window;
};

TEST_F(Win32WindowTest, OpensAChildOfTheHostWindowOfItsOwnClass) {
    Open();
    HWND handle = window->Handle();
    EXPECT_EQ(GetParent(handle), parent);
    wchar_t name[64] = {};
    GetClassNameW(handle, name, 64);
    EXPECT_STREQ(name, L"IEffectWndClass");
    RECT client;
    GetClientRect(handle, &client);
    EXPECT_EQ(client.right, 600);
    EXPECT_EQ(client.bottom, 475);
    EXPECT_TRUE(editor().IsWindowOpen());
    EXPECT_EQ(window->TooltipHandle(), nullptr) << "tooltips are off by default";
    window.reset();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_FALSE(editor().IsWindowOpen());
}

TEST_F(Win32WindowTest, AnEnumeratedParameterIsChosenFromADropDown) {
    Open();
    IControl* control = editor().ControlAtIndex(2 + 2); // background, text field, then params
    ASSERT_EQ(control->ParamIndex(), 2);
    window->PromptParamInput(*control, *effect.ParamAt(2), true);
    HWND box = window->EditHandle();
    ASSERT_NE(box, nullptr);
    wchar_t name[64] = {};
    GetClassNameW(box, name, 64);
    EXPECT_STREQ(_wcsupr(name), L"COMBOBOX");
    EXPECT_EQ(GetDlgCtrlID(box), 99);
    EXPECT_EQ(GetWindowLongPtrW(box, GWLP_USERDATA), 0xDEADF00B);
    EXPECT_EQ(SendMessageW(box, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageW(box, CB_GETCURSEL, 0, 0), 1); // "Square", the default
    effect.edits.clear();
    SendMessageW(box, CB_SETCURSEL, 2, 0);
    SendMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(99, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
    EXPECT_EQ(window->State(), IEditorWindowWin::EditState::Commit);
    Pump();
    EXPECT_EQ(window->EditHandle(), nullptr);
    EXPECT_EQ(effect.edits, (std::vector<std::string>{"b2", "p2", "e2"}));
    EXPECT_EQ(effect.ParamAt(2)->Value(), 2.0); // "Saw"
}

TEST_F(Win32WindowTest, EnterCommitsATypedValueOnTheNextTickAndARightClickCancels) {
    Open();
    IControl* control = editor().ControlAtIndex(2);
    ASSERT_EQ(control->ParamIndex(), 0);
    effect.edits.clear();
    window->PromptParamInput(*control, *effect.ParamAt(0), true);
    HWND box = window->EditHandle();
    ASSERT_NE(box, nullptr);
    RECT rect;
    GetWindowRect(box, &rect);
    EXPECT_EQ(rect.bottom - rect.top, 16);
    SetWindowTextW(box, L"7");
    SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(window->State(), IEditorWindowWin::EditState::Commit);
    Pump();
    EXPECT_EQ(window->EditHandle(), nullptr);
    EXPECT_EQ(effect.edits, (std::vector<std::string>{"b0", "p0", "e0"}));
    EXPECT_EQ(effect.ParamAt(0)->Value(), 7.0);

    effect.edits.clear();
    window->PromptParamInput(*control, *effect.ParamAt(0), true);
    SetWindowTextW(window->EditHandle(), L"4");
    SendMessageW(window->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(300, 460));
    EXPECT_EQ(window->State(), IEditorWindowWin::EditState::Cancel);
    Pump();
    EXPECT_EQ(window->EditHandle(), nullptr);
    EXPECT_TRUE(effect.edits.empty());
    EXPECT_EQ(effect.ParamAt(0)->Value(), 7.0);
}

TEST_F(Win32WindowTest, AClickElsewhereCommitsTheTypedText) {
    Open();
    IControl* field = editor().ControlAtIndex(1);
    ASSERT_NE(field->TextEntry(), nullptr);
    window->PromptTextInput(*field, *field->TextEntry());
    ASSERT_NE(window->EditHandle(), nullptr);
    SetWindowTextW(window->EditHandle(), L"tuned");
    SendMessageW(window->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 460));
    SendMessageW(window->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(300, 460));
    Pump();
    EXPECT_EQ(window->EditHandle(), nullptr);
    EXPECT_STREQ(field->TextEntry()->Text(), "tuned");
}

TEST_F(Win32WindowTest, ARealEnterCommitsTheTextWithoutItsLineBreak) {
    // A box with room for a second line, which a line break would open.
    IControl* field = editor().ControlAtIndex(
        editor().AddControl(std::make_unique<TestTextField>(effect, IBox{10, 200, 310, 300}, "")));
    Open();
    window->PromptTextInput(*field, *field->TextEntry());
    HWND box = window->EditHandle();
    ASSERT_NE(box, nullptr);
    SetWindowTextW(box, L"tuned");
    // As the keyboard delivers it: the message loop translates the key into its character.
    const auto scanCode = static_cast<LPARAM>(MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC));
    PostMessageW(box, WM_KEYDOWN, VK_RETURN, 1 | scanCode << 16);
    PostMessageW(box, WM_KEYUP, VK_RETURN, 1 | scanCode << 16 | 0xC0000000);
    Pump();
    EXPECT_EQ(window->EditHandle(), nullptr);
    EXPECT_STREQ(field->TextEntry()->Text(), "tuned");
}

TEST_F(Win32WindowTest, LosingTheMouseMidDragEndsTheDragAndItsGesture) {
    Open();
    IControl* control = editor().ControlAtIndex(2);
    ASSERT_EQ(control->ParamIndex(), 0);
    const LPARAM centre = Centre(control->Rect());
    effect.edits.clear();
    SendMessageW(window->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, centre);
    ASSERT_EQ(GetCapture(), window->Handle());
    ASSERT_EQ(Count(effect.edits, "e0"), 0);
    // A message box, say, takes the mouse.
    SetCapture(parent);
    EXPECT_EQ(effect.edits.back(), "e0");
    const std::size_t ended = effect.edits.size();
    SendMessageW(window->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(0, 0));
    SendMessageW(window->Handle(), WM_LBUTTONUP, 0, centre);
    EXPECT_EQ(effect.edits.size(), ended) << "the drag is over";
    ReleaseCapture();
}

TEST_F(Win32WindowTest, AHostDestroyingItsWindowFirstClosesTheEditor) {
    Open();
    IControl* control = editor().ControlAtIndex(2);
    window->PromptParamInput(*control, *effect.ParamAt(0), true);
    ASSERT_NE(window->EditHandle(), nullptr);
    HWND handle = window->Handle();
    effect.edits.clear();
    SendMessageW(handle, WM_LBUTTONDOWN, MK_LBUTTON, Centre(control->Rect()));
    DestroyWindow(parent);
    parent = nullptr;
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_FALSE(editor().IsWindowOpen());
    EXPECT_EQ(window->Handle(), nullptr);
    EXPECT_EQ(window->EditHandle(), nullptr);
    EXPECT_EQ(Count(effect.edits, "e0"), 1) << "the drag's gesture ends";
    // What the editor asks of its window afterwards reaches no dead handle.
    window->PromptParamInput(*control, *effect.ParamAt(0), true);
    window->ResizeWindow(640, 480);
    EXPECT_EQ(window->EditHandle(), nullptr);
    window.reset();
    EXPECT_FALSE(editor().IsWindowOpen());
}

TEST_F(Win32WindowTest, ImageCursorsPointWithTheHotspotTheirTableNames) {
    Open();
    window->SetResourceCursor(kCursorAscend);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(window->Cursor(), &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(static_cast<int>(info.xHotspot), kAscendHotspot.x);
    EXPECT_EQ(static_cast<int>(info.yHotspot), kAscendHotspot.y);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
}

TEST_F(Win32WindowTest, TouchpadWheelDeltasAddUpToWholeSteps) {
    Open();
    IControl* control = editor().ControlAtIndex(2);
    POINT point{(control->Rect().left + control->Rect().right) / 2,
                (control->Rect().top + control->Rect().bottom) / 2};
    ClientToScreen(window->Handle(), &point);
    auto turn = [&](int delta) {
        SendMessageW(window->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta),
                     MAKELPARAM(point.x, point.y));
    };
    const double start = control->Value();
    for (int part = 0; part < 3; ++part) turn(WHEEL_DELTA / 3);
    const double afterThirds = control->Value();
    turn(WHEEL_DELTA);
    EXPECT_GT(afterThirds, start);
    EXPECT_NEAR(afterThirds - start, control->Value() - afterThirds, 1e-9);
}

TEST_F(Win32WindowTest, TooltipsHaveAWindowOnlyWhenEnabled) {
    editor().SetTooltipsEnabled(true);
    Open();
    EXPECT_NE(window->TooltipHandle(), nullptr);
}

TEST_F(Win32WindowTest, ClosingDuringAWheelBurstEndsTheGestureAtOnce) {
    Open();
    IControl* control = editor().ControlAtIndex(2);
    ASSERT_EQ(control->ParamIndex(), 0);
    // Wheel messages carry screen coordinates.
    POINT point{(control->Rect().left + control->Rect().right) / 2,
                (control->Rect().top + control->Rect().bottom) / 2};
    ClientToScreen(window->Handle(), &point);
    effect.edits.clear();
    for (int step = 0; step < 2; ++step)
        SendMessageW(window->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                     MAKELPARAM(point.x, point.y));
    ASSERT_EQ(effect.edits, (std::vector<std::string>{"b0", "p0", "p0"}));
    window.reset();
    EXPECT_EQ(effect.edits, (std::vector<std::string>{"b0", "p0", "p0", "e0"}));
}

// At a scale of 2 the window is twice the layout's size, and a drag of twice as many pixels
// moves the control under the pointer as far as the drag at 1x.
TEST_F(Win32WindowTest,
       AtAScaleTheWindowGrowsADragMovesTheControlUnderItAndTheScreensDpiIsFollowed) {
    IControl* control = editor().ControlAtIndex(2);
    const IBox r = control->Rect();
    auto drag = [&](int scale) {
        Open();
        control->ValueFromUser(0.5);
        const auto at = [&](int x, int y) { return MAKELPARAM(scale * x, scale * y); };
        const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
        SendMessageW(window->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at(x, y));
        for (int step = 1; step <= 3; ++step)
            SendMessageW(window->Handle(), WM_MOUSEMOVE, MK_LBUTTON, at(x, y - 6 * step));
        SendMessageW(window->Handle(), WM_LBUTTONUP, 0, at(x, y - 18));
        window.reset();
        return control->Value() - 0.5;
    };
    const double atOne = drag(1);
    ASSERT_GT(atOne, 0.0);
    editor().SetScale(2.0);
    Open();
    RECT client;
    GetClientRect(window->Handle(), &client);
    EXPECT_EQ(client.right, 1200);
    EXPECT_EQ(client.bottom, 950);
    window.reset();
    EXPECT_NEAR(drag(2), atOne, 1e-9);
    // With no host's scale the window follows its screen's DPI as it changes.
    editor().SetScale(1.0);
    Open();
    RECT suggested{0, 0, 1200, 950};
    SendMessageW(window->Handle(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(192, 192),
                 reinterpret_cast<LPARAM>(&suggested));
    GetClientRect(window->Handle(), &client);
    EXPECT_EQ(client.right, 1200);
    EXPECT_EQ(client.bottom, 950);
    EXPECT_EQ(editor().Scale(), 2.0);
}

TEST_F(Win32WindowTest, ADoubleClickOnAControlReachesIt) {
    Open();
    IControl* control = editor().ControlAtIndex(2);
    effect.edits.clear();
    SendMessageW(window->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, Centre(control->Rect()));
    SendMessageW(window->Handle(), WM_LBUTTONUP, 0, Centre(control->Rect()));
    Pump();
    EXPECT_FALSE(effect.edits.empty()) << "a double click sets a knob to its default";
}

} // namespace
