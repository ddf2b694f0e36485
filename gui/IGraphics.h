#pragma once

#include "framework/IEditorContext.h"
#include "gui/GuiTypes.h"
#include "gui/IBitmapRef.h"
#include "gui/IPopupList.h"
#include "gui/ITextStyle.h"

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class IEffectBase;
class IParamModel;
class IPlatformWindow;

namespace raster {
class Font;
class Raster;
} // namespace raster

// The platform-neutral half of the editor: the controls, the off-screen raster they draw into,
// the binding between controls and parameters, dirty-rectangle painting and the routing of
// input to controls. A window (IPlatformWindow) shows it and feeds it events and timer ticks;
// everything except ShowParamInControls runs on that window's thread.
class IGraphics : public IEditorContext {
public:
    using PopupListFactory =
        std::function<std::unique_ptr<IPopupList>(IEffectBase& plug, int x, int y)>;

    // An fps of 0 or less becomes 24.
    IGraphics(IEffectBase& plug, int width, int height, int fps = 24);
    ~IGraphics() override;

    // The plug-in's side. ShowParamInControls may come from any thread (the audio thread
    // included): it only records the value, and the window thread hands it to the controls.
    void ShowParamInControls(int paramIndex, double value, bool normalized) override;
    // Creates the rasters and hands the values recorded so far to the controls.
    void PrepareDraw() override;
    int FrameRate() const override { return fps_; }
    void StartGestureCountdown(int ticks) override { gestureCountdown_ = ticks; }
    void StopGestureCountdown() override { gestureCountdown_ = 0; }

    // The window's side.
    void AttachWindow(IPlatformWindow& window);
    // The window is closing: a pending wheel gesture ends now.
    void DetachWindow();
    bool IsWindowOpen() const { return window_ != nullptr; }
    IPlatformWindow* Window() const { return window_; }
    // One timer tick: paints what became dirty and the always-redrawn region, then advances
    // the wheel gesture countdown. The window runs its own edit-box step before it.
    void OnTimerTick();
    // Hands values recorded by ShowParamInControls to the controls; ticks and dispatch do it
    // first.
    void ApplyHostValues();

    // Control list. Index 0 is the background; later controls lie on top.
    int AddControl(std::unique_ptr<IControl> control);
    void AddBackground(int resourceId, const char* name);
    // Takes the control out of the list and hands it back.
    std::unique_ptr<IControl> RemoveControl(IControl* control);
    // Destroys every control and asks the host for the new size.
    void Resize(int width, int height);
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    IControl* ControlAtIndex(int index) const;
    int IndexOf(const IControl* control) const;

    // Bitmaps of the process-wide cache.
    IBitmapRef LoadBitmap(int resourceId, const char* name, int frames = 1);
    // Cuts ref at floor(width * fraction): returns the left part; ref becomes the right part,
    // carrying the left part's cache id.
    IBitmapRef SplitBitmap(IBitmapRef& ref, double fraction);
    IBitmapRef BitmapById(int id) const;

    // Density. The layout stays Width() x Height() units; the draw raster holds Scale() pixels
    // per unit, and bitmaps are drawn from the denser picture set that suits it (2x up to a
    // scale of 2, 3x above), scaled down with good filtering between the sets.
    static constexpr double kScales[] = {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0};
    // The supported scale nearest to the requested one; 1 for anything not a positive number.
    static double SupportedScale(double requested);
    // Sets the nearest supported scale; a prepared draw raster takes its new size, blank, and the
    // next tick repaints everything. False when the scale stays as it was.
    bool SetScale(double requested);
    double Scale() const { return scale_; }
    // The editor's size in pixels at the scale.
    int PixelWidth() const;
    int PixelHeight() const;
    // A box in layout units as the pixels that cover it, and a window pixel as the layout
    // coordinate it falls in: windows present and take input in pixels.
    IBox PixelBox(const IBox& units) const;
    int UnitAt(int pixel) const;
    // The layout box that covers a box of pixels.
    IBox UnitBox(const IBox& pixels) const;

    // Binding. ShowControlValue may come from any thread, like ShowParamInControls; the value
    // reaches the control with the next tick. Up to kShownControls controls can be addressed.
    static constexpr int kShownControls = 8;
    void ShowControlValue(int controlIndex, double normalized);
    void SetControlsFromUser(int paramIndex, double normalized);
    // Makes the next tick repaint the whole editor.
    void RedrawAll();

    // Painting.
    bool CollectDirty(IBox* out) const;
    bool DrawDirty(const IBox& update);

    // Input, in editor coordinates.
    int ControlAt(int x, int y) const;
    void DispatchMouseDown(int x, int y, const IMouseState& mods);
    void DispatchMouseUp(int x, int y, const IMouseState& mods);
    // True when the control took the double click as a press: the window captures the mouse.
    bool DispatchDoubleClick(int x, int y, const IMouseState& mods);
    void DispatchMouseDrag(int x, int y, const IMouseState& mods);
    // A step that changed a value began a gesture (IControl::MouseWheel); the gesture ends half a
    // second after the burst stops. A step on a control the wheel does not move ends nothing.
    void DispatchMouseWheel(int x, int y, const IMouseState& mods, int steps);
    void DispatchKeyDown(int x, int y, IKeyCode key);
    // False when hover handling is off; the window then asks for no leave notification.
    bool DispatchMouseOver(int x, int y, const IMouseState& mods);
    void DispatchMouseOut();
    void DispatchFileDrop(int x, int y, const char* path);
    void ReleaseCapture() { captureIndex_ = -1; }
    int MouseOverIndex() const { return mouseOverIndex_; }
    void ForgetMouseOver() { mouseOverIndex_ = -1; }

    // Popup list and typed entry.
    void SetPopupListFactory(PopupListFactory factory) { popupFactory_ = std::move(factory); }
    // A new hidden popup list at (x, y) in the default style; null until a factory is set.
    std::unique_ptr<IPopupList> MakePopupList(int x, int y);
    // Appends the list as the topmost control and records it as the one open popup.
    IPopupList* OpenPopup(std::unique_ptr<IPopupList> popup);
    // chosen is false when a click elsewhere closed it: the owner hears ("", -1).
    void ClosePopup(bool chosen);
    IPopupList* OpenPopup() const { return openPopup_; }
    // Reads and clears the mark a click-elsewhere close leaves for the next press.
    bool TakePopupJustClosed();
    void ClearPopupJustClosed() { popupJustClosed_ = false; }
    const IPopupStyle& PopupStyle() const { return popupStyle_; }
    // Applies the text committed in the window's edit box or drop-down to control; param is
    // the parameter being edited, or null for free text entry.
    void ApplyTextEntry(IControl* control, const IParamModel* param, const char* text);

    // Drawing for controls, into the draw raster. A null blend means alpha copy at weight 1.
    bool DrawBitmap(const IBitmapRef& ref, const IBox& dest, int srcX, int srcY,
                    const IBlendSpec* blend);
    // Frames count from 1.
    bool DrawBitmapFrame(const IBitmapRef& ref, const IBox& dest, int frame,
                         const IBlendSpec* blend, bool framesStacked);
    bool DrawBitmapRotated(const IBitmapRef& ref, int centreX, int centreY, double angle,
                           const IBlendSpec* blend, double srcOffsetX, double srcOffsetY);
    bool DrawLine(const IArgb& colour, float x1, float y1, float x2, float y2,
                  const IBlendSpec* blend, bool antiAlias);
    bool DrawThickLine(const IArgb& colour, float x1, float y1, float x2, float y2, float thickness,
                       const IBlendSpec* blend, bool antiAlias);
    bool DrawCircle(const IArgb& colour, float cx, float cy, float radius, const IBlendSpec* blend,
                    bool antiAlias);
    bool FillCircle(const IArgb& colour, float cx, float cy, float radius, const IBlendSpec* blend,
                    bool antiAlias);
    bool OutlineRoundedBox(const IArgb& colour, const IBox& rect, int radius,
                           const IBlendSpec* blend, bool antiAlias);
    // corners: 4 all, 2 the top two, -2 the bottom two.
    bool FillRoundedBox(const IArgb& colour, const IBox& rect, int radius, int corners,
                        const IBlendSpec* blend, bool antiAlias);
    bool FillRect(const IArgb& colour, const IBox& rect, const IBlendSpec* blend);
    // False when no font can be made for the style.
    bool DrawText(ITextStyle& style, const char* text, const IBox& rect);
    raster::Font* FontForStyle(ITextStyle& style);

    // State.
    IEffectBase& Plug() const { return plug_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    raster::Raster* DrawRaster() const { return drawRaster_.get(); }
    const IBox& DrawRect() const { return drawRect_; }
    void SetHandleMouseOver(bool handle) { handleMouseOver_ = handle; }
    bool HandleMouseOver() const { return handleMouseOver_; }
    void SetAlwaysRedrawRect(const IBox& rect) { alwaysRedrawRect_ = rect; }
    const IBox& AlwaysRedrawRect() const { return alwaysRedrawRect_; }
    void SetTooltipsEnabled(bool enabled) { tooltipsEnabled_ = enabled; }
    bool TooltipsEnabled() const { return tooltipsEnabled_; }
    void SetAcceptDrops(bool accept) { acceptDrops_ = accept; }
    bool AcceptDrops() const { return acceptDrops_; }
    void SetRedrawOnTick(bool redraw) { redrawOnTick_ = redraw; }
    int GestureCountdown() const { return gestureCountdown_; }

private:
    void EndWheelGesture();
    // The latest host value of one parameter, waiting for the window thread.
    struct HostValue {
        std::atomic<double> normalized{0.0};
        std::atomic<bool> pending{false};
    };
    // The latest value shown in one control; the slot belongs to the first control shown in it.
    struct ShownValue {
        std::atomic<int> control{-1};
        HostValue value;
    };

    void Capture(int index, int x, int y);
    void ResizeDrawRaster();
    // The raster to draw for a bitmap of this context at the current scale.
    const raster::Raster* DenseRaster(const raster::Raster* base);

    // How a bitmap handed out by LoadBitmap or SplitBitmap was made, to make it again from the
    // denser picture sets: part 0 the whole resource, -1 its left part, 1 its right part.
    struct BitmapOrigin {
        const raster::Raster* base = nullptr;
        int resourceId = 0;
        double fraction = 0.0;
        int part = 0;
    };
    struct DenseBitmap {
        const raster::Raster* base = nullptr;
        const raster::Raster* dense = nullptr;
    };

    IEffectBase& plug_;
    IPopupStyle popupStyle_;
    bool handleMouseOver_ = false;
    int mouseOverIndex_ = -1;
    IPopupList* openPopup_ = nullptr;
    bool popupJustClosed_ = false;
    PopupListFactory popupFactory_;
    std::vector<std::unique_ptr<IControl>> controls_;
    IBox drawRect_;
    std::unique_ptr<raster::Raster> drawRaster_;
    std::unique_ptr<raster::Raster> scratchRaster_;
    // Right halves of split bitmaps; their left halves live in the bitmap cache.
    std::vector<std::unique_ptr<raster::Raster>> splitRasters_;
    std::vector<BitmapOrigin> bitmapOrigins_;
    // The bitmaps of the current picture set, and the split parts made for it.
    int denseSet_ = 1;
    std::vector<DenseBitmap> denseBitmaps_;
    std::vector<std::unique_ptr<raster::Raster>> denseParts_;
    IBox alwaysRedrawRect_;
    double scale_ = 1.0;
    int width_ = 0;
    int height_ = 0;
    int fps_ = 24;
    int nextSplitId_ = -1;
    int captureIndex_ = -1;
    // A press or double click reached a control and its release has not come yet.
    bool pressed_ = false;
    int mouseX_ = 0;
    int mouseY_ = 0;
    bool tooltipsEnabled_ = false;
    bool acceptDrops_ = false;
    bool redrawOnTick_ = true;
    int gestureCountdown_ = 0;
    IPlatformWindow* window_ = nullptr;
    std::unique_ptr<HostValue[]> hostValues_;
    int hostValueCount_ = 0;
    std::array<ShownValue, kShownControls> shownValues_;
    std::atomic<bool> hostValuesPending_{false};
};
