#include "host/win32/WindowsEditorFrame.h"

#include "platform/win32/MessagePump.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

namespace serivane::host {

using namespace Steinberg;

namespace {

constexpr wchar_t frameClass[] = L"SerivaneHostFrame";

// The frame's window class, registered once per process.
bool registerFrameClass() {
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = frameClass;
        return RegisterClassW(&windowClass) != 0;
    }();
    return registered;
}

} // namespace

IPtr<WindowsEditorFrame> WindowsEditorFrame::create() {
    return owned(new WindowsEditorFrame());
}

WindowsEditorFrame::~WindowsEditorFrame() {
    close();
}

uint32 PLUGIN_API WindowsEditorFrame::addRef() {
    return ++references_;
}

uint32 PLUGIN_API WindowsEditorFrame::release() {
    uint32 left = --references_;
    if (left == 0) delete this;
    return left;
}

tresult PLUGIN_API WindowsEditorFrame::queryInterface(const TUID iid, void** obj) {
    QUERY_INTERFACE(iid, obj, FUnknown::iid, IPlugFrame)
    QUERY_INTERFACE(iid, obj, IPlugFrame::iid, IPlugFrame)
    *obj = nullptr;
    return kNoInterface;
}

bool WindowsEditorFrame::open(Vst::IEditController* controller, std::string& error,
                              double contentScale) {
    close();
    IPtr<IPlugView> view = owned(controller->createView(Vst::ViewType::kEditor));
    if (!view) {
        error = "the plug-in has no editor";
        return false;
    }
    if (view->isPlatformTypeSupported(kPlatformTypeHWND) != kResultTrue) {
        error = "the plug-in's editor does not embed in a Win32 window";
        return false;
    }
    view->setFrame(this);
    if (contentScale > 0.0) {
        FUnknownPtr<IPlugViewContentScaleSupport> scaling(view);
        if (!scaling ||
            scaling->setContentScaleFactor(static_cast<float>(contentScale)) != kResultTrue) {
            view->setFrame(nullptr);
            error = "the plug-in's editor takes no content scale";
            return false;
        }
    }
    ViewRect rect;
    if (view->getSize(&rect) != kResultOk || rect.getWidth() <= 0 || rect.getHeight() <= 0) {
        view->setFrame(nullptr);
        error = "the plug-in's editor reports no size";
        return false;
    }
    if (!createWindow(rect.getWidth(), rect.getHeight())) {
        view->setFrame(nullptr);
        error = "cannot create the editor window";
        return false;
    }
    size_ = rect;
    if (view->attached(window_, kPlatformTypeHWND) != kResultOk) {
        view->setFrame(nullptr);
        DestroyWindow(window_);
        window_ = nullptr;
        error = "the plug-in's editor failed to attach";
        return false;
    }
    view_ = view;
    UpdateWindow(window_);
    return true;
}

void WindowsEditorFrame::close() {
    if (view_) {
        view_->removed();
        view_->setFrame(nullptr);
        view_ = nullptr;
    }
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
}

bool WindowsEditorFrame::createWindow(int width, int height) {
    if (!registerFrameClass()) return false;
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT outer{0, 0, width, height};
    AdjustWindowRect(&outer, style, FALSE);
    window_ = CreateWindowExW(0, frameClass, L"Serivane", style, 0, 0, outer.right - outer.left,
                              outer.bottom - outer.top, nullptr, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    if (!window_) return false;
    ShowWindow(window_, SW_SHOWNORMAL);
    return true;
}

void WindowsEditorFrame::runFor(std::chrono::milliseconds duration) {
    PumpMessages(duration);
}

bool WindowsEditorFrame::capture(WindowImage& image) const {
    if (!window_) return false;
    const int width = size_.getWidth(), height = size_.getHeight();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC windowDc = GetDC(window_);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (memoryDc && bitmap) {
        HGDIOBJ previous = SelectObject(memoryDc, bitmap);
        copied = BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY) != 0;
        GdiFlush();
        if (copied) {
            const auto* pixels = static_cast<const std::uint32_t*>(bits);
            image.width = width;
            image.height = height;
            image.pixels.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
            for (std::uint32_t& pixel : image.pixels) pixel |= 0xFF000000u;
        }
        SelectObject(memoryDc, previous);
    }
    if (bitmap) DeleteObject(bitmap);
    if (memoryDc) DeleteDC(memoryDc);
    ReleaseDC(window_, windowDc);
    return copied;
}

tresult PLUGIN_API WindowsEditorFrame::resizeView(IPlugView* view, ViewRect* newSize) {
    if (!view || !newSize || view != view_.get()) return kInvalidArgument;
    RECT outer{0, 0, newSize->getWidth(), newSize->getHeight()};
    AdjustWindowRect(&outer, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)), FALSE);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    size_ = *newSize;
    view->onSize(newSize);
    return kResultTrue;
}

} // namespace serivane::host
