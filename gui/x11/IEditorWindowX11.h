#pragma once

#include "gui/EditorInteraction.h"
#include "gui/IEditorWindow.h"
#include "gui/IPlatformWindow.h"
#include "gui/x11/MessageBox.h"
#include "gui/x11/ValueEntryBox.h"
#include "platform/UrlOpener.h"
#include "platform/x11/DoubleClick.h"
#include "platform/x11/X11Window.h"
#include "raster/Raster.h"

#include <functional>
#include <optional>
#include <string>

// The editor window on X11: a child of the host's window that paints the graphics context's
// raster, turns X input into its dispatch calls, and draws the value box, tooltip and message
// box inside itself. Every call runs on the run loop's thread.
class IEditorWindowX11 : public IEditorWindow,
                         public IPlatformWindow,
                         private x11::IWindowListener {
public:
    // Ticks of the repaint timer the pointer rests before a tooltip shows.
    static constexpr int kTooltipDelayTicks = 12;

    // Opens the window; null when it cannot be made.
    static std::unique_ptr<IEditorWindowX11> Open(IGraphics& graphics, std::uint32_t parent,
                                                  std::unique_ptr<IRunLoopLink> loop);
    ~IEditorWindowX11() override;

    // IPlatformWindow
    bool PresentToWindow(const IBox& rect) override;
    void PromptParamInput(IControl& control, const IParamModel& param, bool centred) override;
    void PromptTextInput(IControl& control, ITextEntryTarget& text) override;
    bool OpenUrl(const char* url, const char* title, const char* confirmText,
                 const char* errorText) override;
    void SetCursor(ICursor cursor) override;
    void SetResourceCursor(int resourceId) override;
    void ResizeWindow(int width, int height) override;

    // One tick of the repaint timer: the value box step, then the graphics context's tick.
    void Tick();
    // What the window shows over the editor, for its tests.
    const ValueEntryBox* EntryBox() const { return box_ ? &*box_ : nullptr; }
    bool TooltipShowing() const { return interaction_.TooltipShowing(); }

private:
    IEditorWindowX11(IGraphics& graphics, std::unique_ptr<IRunLoopLink> loop);

    // x11::IWindowListener
    void OnButtonPress(x11::Button button, int x, int y, const x11::Modifiers& mods,
                       std::uint32_t timeMs) override;
    void OnButtonRelease(x11::Button button, int x, int y, const x11::Modifiers& mods) override;
    void OnMotion(int x, int y, const x11::Modifiers& mods) override;
    void OnKeyPress(std::uint32_t keysym, int x, int y, const x11::Modifiers& mods) override;
    void OnLeave() override;
    void OnExpose(int x, int y, int width, int height) override;
    void OnFocus(bool gained) override;

    void OnReadable();
    void EntryBoxStep();
    void OpenBox(ValueEntryBox box, IControl& control, const IParamModel* param);
    void CloseBox();
    // The box's own keys and presses move the entry's state, as a native box's messages would.
    void BoxInput(const std::function<void(ValueEntryBox&)>& input);
    void ShowMessage(MessageBox message);
    void AnswerMessage();
    void TooltipStep();
    void HideTooltip();
    bool StartUrl(const char* url);
    void ShowUrlError();
    void PollUrlOpener();
    // Repaints a region of the window from the raster with whatever lies over it.
    void Repaint(const IBox& rect);
    bool OverlaysTouch(const IBox& rect) const;

    IGraphics& graphics_;
    EditorInteraction interaction_;
    std::unique_ptr<IRunLoopLink> loop_;
    std::unique_ptr<x11::Window> window_;
    std::optional<ValueEntryBox> box_;
    std::optional<MessageBox> message_;
    // Buttons whose press a box took: their release goes nowhere either.
    int consumedButtons_ = 0;
    bool trackingLeave_ = false;
    x11::DoubleClick doubleClick_;
    // Ticks left until the tooltip is due: X has no hover message of its own.
    int hoverTicks_ = 0;
    IBox tooltipRect_;
    UrlOpener urlOpener_;
    std::string urlTitle_;
    std::string urlError_;
    std::string urlPending_;
    raster::Raster backBuffer_;
};
