#include "gui/win32/IEditorWindowWin.h"
#include "platform/win32/CountedWindowClass.h"
#include "platform/win32/DpiAwareness.h"
#include "platform/win32/WideText.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

// The Win32 macros of these names would rename the graphics context's operations.
#undef LoadBitmap
#undef DrawText

#include "framework/IEffectBase.h"
#include "framework/IParamModel.h"
#include "gui/ControlKeys.h"
#include "gui/IControl.h"
#include "gui/IGraphics.h"
#include "gui/ITextEntryTarget.h"
#include "gui/RasterPixels.h"
#include "gui/ValueBoxLayout.h"
#include "platform/Resources.h"
#include "raster/Raster.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace {

CountedWindowClass gWindowClass(L"IEffectWndClass", CS_DBLCLKS, IDC_ARROW);
constexpr UINT_PTR kTimerId = 2;
constexpr int kEditId = 99;
// Marks a value box as the editor's own.
constexpr LONG_PTR kEditMarker = 0xDEADF00B;
constexpr int kMaxEntryText = 1000;
// The screen's DPI changed, for a top-level window and for a child of one.
constexpr UINT kDpiChanged = 0x02E0;
constexpr UINT kDpiChangedAfterParent = 0x02E3;

IMouseState MouseState(WPARAM wParam) {
    return {(wParam & MK_LBUTTON) != 0, (wParam & MK_RBUTTON) != 0, (wParam & MK_SHIFT) != 0,
            (wParam & MK_CONTROL) != 0, GetKeyState(VK_MENU) < 0};
}

constexpr ArrowKeys kArrowKeys{VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN};

HFONT EntryFont(int height, int weight, bool italic, const std::string& face) {
    return CreateFontW(height, 0, 0, 0, weight, italic, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, Widened(face).c_str());
}

// A cursor from a raster image with the hot spot its table names, or the middle when it names
// none; null when it cannot be made.
HCURSOR CursorFromRaster(const raster::Raster& image, int resourceId) {
    RasterPixels pixels;
    if (!ReadRasterPixels(image, pixels)) return nullptr;
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = pixels.width;
    header.bV5Height = -pixels.height;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    HDC screen = GetDC(nullptr);
    void* bits = nullptr;
    HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                      DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!colour) return nullptr;
    // Cursor images carry straight alpha; the raster's is premultiplied.
    auto* out = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < pixels.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            reinterpret_cast<const std::uint8_t*>(pixels.pixels) + y * pixels.strideBytes);
        for (int x = 0; x < pixels.width; ++x) {
            std::uint32_t p = row[x], a = p >> 24;
            auto channel = [&](int shift) {
                std::uint32_t c = (p >> shift) & 0xFF;
                return a ? std::min<std::uint32_t>(255, (c * 255 + a / 2) / a) : 0;
            };
            out[y * pixels.width + x] = a << 24 | channel(16) << 16 | channel(8) << 8 | channel(0);
        }
    }
    HBITMAP mask = CreateBitmap(pixels.width, pixels.height, 1, 1, nullptr);
    const CursorHotspot* hotspot = FindCursorHotspot(resourceId);
    const int hotX = hotspot ? hotspot->x : pixels.width / 2;
    const int hotY = hotspot ? hotspot->y : pixels.height / 2;
    ICONINFO info{FALSE, static_cast<DWORD>(hotX), static_cast<DWORD>(hotY), mask, colour};
    HCURSOR cursor = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    return cursor;
}

} // namespace

std::unique_ptr<IEditorWindow> OpenEditorWindow(IGraphics& graphics, void* parent,
                                                std::unique_ptr<IRunLoopLink>) {
    return IEditorWindowWin::Open(graphics, static_cast<HWND>(parent));
}

IEditorWindowWin::IEditorWindowWin(IGraphics& graphics)
    : graphics_(graphics), interaction_(graphics) {}

std::unique_ptr<IEditorWindowWin> IEditorWindowWin::Open(IGraphics& graphics, HWND parent) {
    if (!parent || !graphics.DrawRaster()) return nullptr;
    std::unique_ptr<IEditorWindowWin> editor(new IEditorWindowWin(graphics));
    if (!gWindowClass.Acquire(&IEditorWindowWin::WindowProc)) return nullptr;
    editor->registeredOpen_ = true;
    editor->cursor_ = LoadCursorW(nullptr, IDC_ARROW);
    // Attached first: creation already starts the timer and may paint.
    graphics.AttachWindow(*editor);
    editor->attached_ = true;
    HWND window = nullptr;
    {
        PerMonitorDpiScope perMonitor;
        window = CreateWindowExW(0, gWindowClass.Name(), L"IEffect",
                                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                 graphics.PixelWidth(), graphics.PixelHeight(), parent, nullptr,
                                 ModuleInstance(), editor.get());
    }
    if (!window) return nullptr;
    // A scale of 1, or the screen's own, is no host's choice: the window follows its screen.
    const double scale = graphics.Scale();
    editor->followsScreen_ =
        scale == 1.0 || scale == IGraphics::SupportedScale(WindowDpiScale(window));
    editor->FollowScreen(WindowDpiScale(window));
    graphics.RedrawAll();
    if (graphics.TooltipsEnabled()) editor->CreateTooltip();
    return editor;
}

IEditorWindowWin::~IEditorWindowWin() {
    CloseWindow();
    if (attached_) graphics_.DetachWindow();
    for (auto& [id, cursor] : resourceCursors_) DestroyCursor(cursor);
    if (registeredOpen_) gWindowClass.Release();
}

void IEditorWindowWin::ReleaseWindow() {
    interaction_.EndDrag();
    HideTooltip();
    if (tooltip_) DestroyWindow(tooltip_);
    tooltip_ = nullptr;
    interaction_.HoverOver(-1);
    if (graphics_.GestureCountdown() != 0) graphics_.Plug().FlushDeferredEndEdit();
    DestroyEditBox();
    KillTimer(window_, kTimerId);
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    window_ = nullptr;
    if (attached_) graphics_.DetachWindow();
    attached_ = false;
}

void IEditorWindowWin::CloseWindow() {
    if (!window_) return;
    HWND window = window_;
    ReleaseWindow();
    DestroyWindow(window);
}

void IEditorWindowWin::CreateTooltip() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_,
                               nullptr, ModuleInstance(), nullptr);
    if (!tooltip_) {
        graphics_.SetTooltipsEnabled(false);
        return;
    }
    SetWindowPos(tooltip_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(window_);
    tool.lpszText = const_cast<wchar_t*>(L"");
    if (!SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
        DestroyWindow(tooltip_);
        tooltip_ = nullptr;
        graphics_.SetTooltipsEnabled(false);
    }
}

void IEditorWindowWin::ShowTooltip() {
    interaction_.HoverOver(graphics_.TooltipsEnabled() ? graphics_.MouseOverIndex() : -1);
    IControl* control = interaction_.HoverControl();
    if (!tooltip_ || !control || !control->Tooltip()) return;
    std::wstring text = Widened(control->Tooltip());
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(window_);
    tool.lpszText = text.data();
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    interaction_.TooltipShown();
}

void IEditorWindowWin::HideTooltip() {
    if (!tooltip_ || !interaction_.HideTooltip()) return;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(window_);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

bool IEditorWindowWin::PresentToWindow(const IBox& rect) {
    const raster::Raster* raster = graphics_.DrawRaster();
    RasterPixels source;
    if (!window_ || !raster || !ReadRasterPixels(*raster, source)) return false;
    const IBox units = rect.Intersect({0, 0, graphics_.Width(), graphics_.Height()});
    IBox area = graphics_.PixelBox(units).Intersect({0, 0, source.width, source.height});
    if (area.Empty()) return true;
    // The rows of the area as a top-down DIB as wide as the raster's stride.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = source.strideBytes / 4;
    info.bmiHeader.biHeight = -area.H();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const auto* rows =
        reinterpret_cast<const std::uint8_t*>(source.pixels) + area.top * source.strideBytes;
    HDC dc = paintDc_ ? paintDc_ : GetDC(window_);
    SetDIBitsToDevice(dc, area.left, area.top, static_cast<DWORD>(area.W()),
                      static_cast<DWORD>(area.H()), area.left, 0, 0, static_cast<UINT>(area.H()),
                      rows, &info, DIB_RGB_COLORS);
    if (!paintDc_) ReleaseDC(window_, dc);
    return true;
}

void IEditorWindowWin::PromptParamInput(IControl& control, const IParamModel& param, bool centred) {
    if (edit_ || !window_) return;
    ParamEntry entry = ParamEntryFor(control.Rect(), param, centred);
    HFONT font = EntryFont(ScaledFontHeight(14), FW_DONTCARE, false, "Arial");
    if (!entry.list) {
        DWORD style = WS_CHILD | WS_VISIBLE | ES_MULTILINE | (centred ? ES_CENTER : 0);
        OpenEditBox(L"EDIT", style, entry.rect, control, &param, font);
        SetWindowTextW(edit_, Widened(entry.text).c_str());
        SendMessageW(edit_, EM_SETSEL, 0, -1);
        return;
    }
    OpenEditBox(L"COMBOBOX", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, entry.rect, control, &param,
                font);
    for (const std::string& item : entry.items)
        SendMessageW(edit_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widened(item).c_str()));
    SendMessageW(edit_, CB_SETCURSEL, static_cast<WPARAM>(entry.selected), 0);
}

void IEditorWindowWin::PromptTextInput(IControl& control, ITextEntryTarget& text) {
    if (edit_ || !window_) return;
    const ITextStyle& style = text.TextStyle();
    ITextAlign entryAlign = TextEntryAlign(style.align);
    DWORD align = entryAlign == ITextAlign::Left    ? ES_LEFT
                  : entryAlign == ITextAlign::Right ? ES_RIGHT
                                                    : ES_CENTER;
    DWORD kind = text.Password() ? ES_PASSWORD : ES_MULTILINE;
    DWORD styleBits = WS_CHILD | WS_VISIBLE | align | kind | (text.Editable() ? 0 : ES_READONLY);
    HFONT font =
        EntryFont(ScaledFontHeight(style.size), style.style == kTextBold ? FW_BOLD : FW_DONTCARE,
                  style.style == kTextItalic, style.face);
    OpenEditBox(L"EDIT", styleBits, control.Rect(), control, nullptr, font);
    SetWindowTextW(edit_, Widened(text.Text() ? text.Text() : "").c_str());
    SendMessageW(edit_, EM_SETSEL, 0, -1);
}

int IEditorWindowWin::ScaledFontHeight(int units) const {
    return static_cast<int>(std::lround(units * graphics_.Scale()));
}

void IEditorWindowWin::OpenEditBox(const wchar_t* windowClass, DWORD style, const IBox& rect,
                                   IControl& control, const IParamModel* param, HFONT font) {
    const IBox pixels = graphics_.PixelBox(rect);
    edit_ = CreateWindowExW(
        0, windowClass, L"", style, pixels.left, pixels.top, pixels.W(), pixels.H(), window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), ModuleInstance(), nullptr);
    if (!edit_) {
        DeleteObject(font);
        return;
    }
    editFont_ = font;
    SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowLongPtrW(edit_, GWLP_USERDATA, kEditMarker);
    editOldProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
    interaction_.OpenEntry(control, param, EditState::None);
    editIsList_ = std::wstring_view(windowClass) == L"COMBOBOX";
    SetFocus(edit_);
}

void IEditorWindowWin::DestroyEditBox() {
    if (edit_) {
        SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editOldProc_));
        DestroyWindow(edit_);
    }
    if (editFont_) DeleteObject(editFont_);
    edit_ = nullptr;
    editFont_ = nullptr;
    editOldProc_ = nullptr;
    interaction_.CloseEntry();
}

void IEditorWindowWin::EditBoxStep() {
    if (!edit_) return;
    IControl* control = interaction_.StepEntry([this] {
        wchar_t text[kMaxEntryText + 1] = {};
        GetWindowTextW(edit_, text, kMaxEntryText);
        return Narrowed(text);
    });
    if (!control) return;
    control->EditFinished();
    DestroyEditBox();
    SetFocus(window_);
}

bool IEditorWindowWin::OpenUrl(const char* url, const char* title, const char* confirmText,
                               const char* errorText) {
    std::wstring caption = Widened(title ? title : "");
    if (confirmText &&
        MessageBoxW(window_, Widened(confirmText).c_str(), caption.c_str(), MB_YESNO) != IDYES)
        return false;
    auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
        window_, L"open", Widened(url ? url : "").c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32) return true;
    if (errorText) MessageBoxW(window_, Widened(errorText).c_str(), caption.c_str(), MB_OK);
    return false;
}

void IEditorWindowWin::SetCursor(ICursor cursor) {
    const wchar_t* shape = cursor == ICursor::ResizeVertical     ? IDC_SIZENS
                           : cursor == ICursor::ResizeHorizontal ? IDC_SIZEWE
                                                                 : IDC_ARROW;
    cursor_ = LoadCursorW(nullptr, shape);
    ::SetCursor(cursor_);
}

void IEditorWindowWin::SetResourceCursor(int resourceId) {
    auto found = resourceCursors_.find(resourceId);
    if (found == resourceCursors_.end()) {
        IBitmapRef bitmap = graphics_.LoadBitmap(resourceId, nullptr, 1);
        HCURSOR made = bitmap.raster ? CursorFromRaster(*bitmap.raster, resourceId) : nullptr;
        if (!made) {
            SetCursor(ICursor::Arrow);
            return;
        }
        found = resourceCursors_.emplace(resourceId, made).first;
    }
    cursor_ = found->second;
    ::SetCursor(cursor_);
}

void IEditorWindowWin::ResizeWindow(int width, int height) {
    if (!window_) return;
    RECT before;
    GetClientRect(window_, &before);
    int dw = width - before.right, dh = height - before.bottom;
    SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A child editor grows its host's frame by as much, and the frame's frame when that is a
    // child window too.
    HWND child = window_;
    for (int level = 0; level < 2; ++level) {
        LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        LONG_PTR extended = GetWindowLongPtrW(child, GWL_EXSTYLE);
        HWND parent = GetParent(child);
        if (!parent || !(style & WS_CHILD) || (extended & WS_EX_MDICHILD)) break;
        RECT frame;
        GetWindowRect(parent, &frame);
        SetWindowPos(parent, nullptr, 0, 0, frame.right - frame.left + dw,
                     frame.bottom - frame.top + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        child = parent;
    }
    InvalidateRect(window_, &before, FALSE);
}

void IEditorWindowWin::FollowScreen(double dpiScale) {
    if (!followsScreen_ || !graphics_.SetScale(dpiScale)) return;
    // An open value box was placed and lettered at the old scale.
    DestroyEditBox();
    const int width = graphics_.PixelWidth(), height = graphics_.PixelHeight();
    ResizeWindow(width, height);
    graphics_.Plug().ResizeEditor(width, height);
}

void IEditorWindowWin::Tick() {
    EditBoxStep();
    graphics_.OnTimerTick();
}

void IEditorWindowWin::OnCreate() {
    SetTimer(window_, kTimerId, static_cast<UINT>(TimerIntervalMs(graphics_.FrameRate())), nullptr);
    SetFocus(window_);
    if (graphics_.AcceptDrops()) DragAcceptFiles(window_, TRUE);
}

void IEditorWindowWin::OnMouseMove(WPARAM wParam, int px, int py) {
    const int x = graphics_.UnitAt(px), y = graphics_.UnitAt(py);
    interaction_.PointerAt(x, y);
    IMouseState state = MouseState(wParam);
    if (state.left || state.right) {
        if (GetCapture() == window_) graphics_.DispatchMouseDrag(x, y, state);
        return;
    }
    if (!graphics_.DispatchMouseOver(x, y, state)) return;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_, HOVER_DEFAULT};
    if (graphics_.TooltipsEnabled() && interaction_.HoverOver(graphics_.MouseOverIndex())) {
        HideTooltip();
        if (interaction_.HoverIndex() >= 0) track.dwFlags |= TME_HOVER;
    }
    TrackMouseEvent(&track);
}

void IEditorWindowWin::OnButtonDown(WPARAM wParam, int px, int py, bool right) {
    const int x = graphics_.UnitAt(px), y = graphics_.UnitAt(py);
    HideTooltip();
    if (!right) interaction_.CommitEntry();
    SetCapture(window_);
    IMouseState state = MouseState(wParam);
    state.right = right;
    interaction_.Press(x, y, state);
}

void IEditorWindowWin::OnMouseWheel(WPARAM wParam, int x, int y) {
    const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    // A turn the other way starts from nothing.
    if ((wheelRest_ < 0 && delta > 0) || (wheelRest_ > 0 && delta < 0)) wheelRest_ = 0;
    wheelRest_ += delta;
    const int steps = wheelRest_ / WHEEL_DELTA;
    wheelRest_ -= steps * WHEEL_DELTA;
    if (steps == 0) return;
    // Wheel messages carry screen coordinates.
    RECT frame;
    GetWindowRect(window_, &frame);
    graphics_.DispatchMouseWheel(graphics_.UnitAt(x - frame.left), graphics_.UnitAt(y - frame.top),
                                 MouseState(GET_KEYSTATE_WPARAM(wParam)), steps);
}

LRESULT CALLBACK IEditorWindowWin::WindowProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message == WM_CREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<IEditorWindowWin*>(create->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = window;
        self->OnCreate();
        return 0;
    }
    auto* self = reinterpret_cast<IEditorWindowWin*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || self->window_ != window) return DefWindowProcW(window, message, wParam, lParam);
    return self->OnMessage(message, wParam, lParam);
}

LRESULT IEditorWindowWin::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (message) {
    case WM_PAINT: {
        RECT update;
        if (!GetUpdateRect(window_, &update, FALSE)) return 0;
        PAINTSTRUCT paint;
        paintDc_ = BeginPaint(window_, &paint);
        graphics_.DrawDirty(
            graphics_.UnitBox({update.left, update.top, update.right, update.bottom}));
        EndPaint(window_, &paint);
        paintDc_ = nullptr;
        return 0;
    }
    case WM_CLOSE:
        CloseWindow();
        return 0;
    case WM_DESTROY:
        // The host destroyed its window, and with it this one, before removing the editor.
        ReleaseWindow();
        return 0;
    case WM_MOUSEACTIVATE:
        SetFocus(window_);
        return MA_ACTIVATE;
    case WM_SETCURSOR:
        if (LOWORD(lParam) != HTCLIENT) break;
        ::SetCursor(cursor_);
        return TRUE;
    case WM_KEYDOWN: {
        IKeyCode code;
        if (!ControlKeyFor(wParam, kArrowKeys, code)) return 0;
        POINT point;
        GetCursorPos(&point);
        ScreenToClient(window_, &point);
        graphics_.DispatchKeyDown(graphics_.UnitAt(point.x), graphics_.UnitAt(point.y), code);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kTimerId) Tick();
        return 0;
    case WM_COMMAND:
        // The drop-down list's choice commits on the next tick.
        if (edit_ && LOWORD(wParam) == kEditId && HIWORD(wParam) == CBN_SELCHANGE)
            interaction_.SetEntryState(EditState::Commit);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, x, y);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        // Let go first: releasing the capture here loses nothing.
        interaction_.LetGo();
        ReleaseCapture();
        graphics_.DispatchMouseUp(graphics_.UnitAt(x), graphics_.UnitAt(y), MouseState(wParam));
        return 0;
    case WM_CAPTURECHANGED:
        // A message box, a switch of windows or an opened browser took the mouse mid-drag.
        if (reinterpret_cast<HWND>(lParam) != window_) interaction_.EndDrag();
        return 0;
    case WM_LBUTTONDBLCLK:
        if (interaction_.DoubleClick(graphics_.UnitAt(x), graphics_.UnitAt(y), MouseState(wParam)))
            SetCapture(window_);
        return 0;
    case WM_RBUTTONDOWN:
        if (edit_) {
            // A right click cancels the value box; free text entry is emptied at once.
            interaction_.SetEntryState(EditState::Cancel);
            if (!interaction_.EntryParam())
                graphics_.ApplyTextEntry(interaction_.EntryControl(), nullptr, "");
            return 0;
        }
        OnButtonDown(wParam, x, y, true);
        return 0;
    case WM_LBUTTONDOWN:
        OnButtonDown(wParam, x, y, false);
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(wParam, x, y);
        return 0;
    case WM_DROPFILES: {
        auto drop = reinterpret_cast<HDROP>(wParam);
        wchar_t path[MAX_PATH + 1] = {};
        POINT point{};
        if (DragQueryFileW(drop, 0, path, MAX_PATH) > 0 && DragQueryPoint(drop, &point))
            graphics_.DispatchFileDrop(graphics_.UnitAt(point.x), graphics_.UnitAt(point.y),
                                       Narrowed(path).c_str());
        DragFinish(drop);
        return 0;
    }
    case kDpiChanged: // the new DPI comes with the message, before the system reports it
        FollowScreen(LOWORD(wParam) / 96.0);
        return 0;
    case kDpiChangedAfterParent:
        FollowScreen(WindowDpiScale(window_));
        return 0;
    case WM_MOUSEHOVER:
        ShowTooltip();
        return 0;
    case WM_MOUSELEAVE:
        HideTooltip();
        graphics_.DispatchMouseOut();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK IEditorWindowWin::EditProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    auto* self =
        reinterpret_cast<IEditorWindowWin*>(GetWindowLongPtrW(GetParent(window), GWLP_USERDATA));
    if (!self || self->edit_ != window) return DefWindowProcW(window, message, wParam, lParam);
    return self->OnEditMessage(message, wParam, lParam);
}

LRESULT IEditorWindowWin::OnEditMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND edit = edit_;
    WNDPROC own = editOldProc_;
    HideTooltip();
    switch (message) {
    case WM_SETFOCUS:
        interaction_.SetEntryState(EditState::Editing);
        break;
    case WM_KILLFOCUS:
        interaction_.SetEntryState(EditState::None);
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            if (!editIsList_) SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
            interaction_.SetEntryState(EditState::Commit);
            return 0;
        }
        interaction_.SetEntryState(EditState::Editing);
        break;
    case WM_CHAR:
        // Enter commits; the line break it types never reaches the multi-line box.
        if (wParam == '\r' || wParam == '\n') return 0;
        break;
    case WM_GETDLGCODE:
        if (!interaction_.EntryParam() && lParam) {
            const auto* queried = reinterpret_cast<const MSG*>(lParam);
            if (queried->message == WM_KEYDOWN && queried->wParam == VK_RETURN)
                return CallWindowProcW(own, edit, message, wParam, lParam) | DLGC_WANTALLKEYS;
        }
        break;
    default:
        break;
    }
    return CallWindowProcW(own, edit, message, wParam, lParam);
}
