#pragma once

#include "gui/EditorInteraction.h"
#include "gui/IEditorWindow.h"
#include "gui/IPlatformWindow.h"

#include <windows.h>

#include <map>
#include <string>

// The editor window on Windows: a child of the host's window of class "IEffectWndClass" that
// paints the graphics context's raster, turns window messages into its dispatch calls, runs the
// repaint timer, and opens native "EDIT" and "COMBOBOX" boxes for typed values, a tooltip
// window and message boxes. Every call runs on the thread that owns the window.
class IEditorWindowWin : public IEditorWindow, public IPlatformWindow {
public:
    // The state of an open value box, advanced by its messages and applied on the next tick.
    using EditState = ::EditState;

    // Opens the window inside parent; null when it cannot be made.
    static std::unique_ptr<IEditorWindowWin> Open(IGraphics& graphics, HWND parent);
    ~IEditorWindowWin() override;

    // IPlatformWindow
    bool PresentToWindow(const IBox& rect) override;
    void PromptParamInput(IControl& control, const IParamModel& param, bool centred) override;
    void PromptTextInput(IControl& control, ITextEntryTarget& text) override;
    bool OpenUrl(const char* url, const char* title, const char* confirmText,
                 const char* errorText) override;
    void SetCursor(ICursor cursor) override;
    void SetResourceCursor(int resourceId) override;
    void ResizeWindow(int width, int height) override;

    HWND Handle() const { return window_; }
    HWND EditHandle() const { return edit_; }
    HWND TooltipHandle() const { return tooltip_; }
    HCURSOR Cursor() const { return cursor_; }
    EditState State() const { return interaction_.EntryState(); }

private:
    explicit IEditorWindowWin(IGraphics& graphics);

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnEditMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    // Positions arrive in window pixels; the graphics context takes layout units.
    void OnMouseMove(WPARAM wParam, int px, int py);
    void OnButtonDown(WPARAM wParam, int px, int py, bool right);
    void OnMouseWheel(WPARAM wParam, int x, int y);

    // Ends what the window holds open and lets go of its children and the graphics context;
    // the window itself is being destroyed.
    void ReleaseWindow();
    void CloseWindow();
    // Takes the scale of the window's screen when no host chose one.
    void FollowScreen(double dpiScale);
    void Tick();
    void EditBoxStep();
    void OpenEditBox(const wchar_t* windowClass, DWORD style, const IBox& rect, IControl& control,
                     const IParamModel* param, HFONT font);
    void DestroyEditBox();
    // A value box's font height in pixels for a height in layout units.
    int ScaledFontHeight(int units) const;
    void CreateTooltip();
    void ShowTooltip();
    void HideTooltip();

    IGraphics& graphics_;
    EditorInteraction interaction_;
    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    HWND edit_ = nullptr;
    WNDPROC editOldProc_ = nullptr;
    HFONT editFont_ = nullptr;
    bool editIsList_ = false;
    // Wheel motion short of a whole step, as touchpads send it.
    int wheelRest_ = 0;
    // The paint in progress, so that presenting draws into its device context.
    HDC paintDc_ = nullptr;
    HCURSOR cursor_ = nullptr;
    std::map<int, HCURSOR> resourceCursors_;
    bool registeredOpen_ = false;
    bool attached_ = false;
    bool followsScreen_ = false;
};
