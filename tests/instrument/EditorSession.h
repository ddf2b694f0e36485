#pragma once

#include "Instance.h"
#include "gui/IGraphics.h"
#include "gui/IPlatformWindow.h"
#include "host/ComponentHandler.h"
#include "instrument/GPHLFO.h"
#include "instrument/GRAPH.h"

#include <cstdint>
#include <vector>

// A window that shows nothing and remembers the cursor it was last asked for.
class CursorWindow : public IPlatformWindow {
public:
    bool PresentToWindow(const IBox&) override { return true; }
    void PromptParamInput(IControl&, const IParamModel&, bool) override {}
    void PromptTextInput(IControl&, ITextEntryTarget&) override {}
    bool OpenUrl(const char*, const char*, const char*, const char*) override { return false; }
    void SetCursor(ICursor shape) override {
        cursor = shape;
        resourceCursor = 0;
    }
    void SetResourceCursor(int id) override {
        resourceCursor = id;
        ++resourceCursorsSet;
    }
    void ResizeWindow(int, int) override {}

    ICursor cursor = ICursor::Arrow;
    int resourceCursor = 0;
    int resourceCursorsSet = 0;
};

// The instrument at 48 kHz with its parameters applied, its editor open over a black background
// instead of its picture, and a host that records the edits it is told of.
class EditorSession {
public:
    static constexpr IBox kSweepBox{274, 92, 320, 138};
    static constexpr IBox kLowKnobBox{133, 123, 197, 189};
    static constexpr IBox kHighKnobBox{403, 123, 467, 189};

    // firstBlock false leaves the engine waiting for its first audio block.
    explicit EditorSession(bool firstBlock = true);
    ~EditorSession();

    CLS_SERIVANE& Plugin() { return *plugin_; }
    IGraphics& Graphics() { return *graphics_; }
    GRAPH& Graph(EnvelopeKind kind) { return kind == EnvelopeKind::Frequency ? *freq_ : *volume_; }
    GPHLFO& Sweep() { return *sweep_; }
    const EnvelopeGraphModel& Model(EnvelopeKind kind) {
        return kind == EnvelopeKind::Frequency ? plugin_->FrequencyGraph() : plugin_->VolumeGraph();
    }
    CursorWindow& Window() { return window_; }

    void Tick() { graphics_->OnTimerTick(); }
    void RenderBlock(int frames = 64) { Render(*plugin_, frames); }
    // A parameter changed by the host, as in a processing block.
    void SetFromHost(int index, double value);
    uint32_t Pixel(int x, int y) const;

    void Hover(int x, int y);
    void Press(int x, int y);
    void DragTo(int x, int y);
    void Release(int x, int y);
    void Click(int x, int y);

    void ForgetHostCalls() { handler_->clear(); }
    // "b14", "p14", "e14": the edit notifications the host received, in order.
    std::vector<std::string> HostEdits() const;

private:
    Instance plugin_ = MakeInstance();
    Steinberg::IPtr<serivane::host::ComponentHandler> handler_;
    CursorWindow window_;
    IGraphics* graphics_ = nullptr;
    GRAPH* freq_ = nullptr;
    GRAPH* volume_ = nullptr;
    GPHLFO* sweep_ = nullptr;
};

// Channels of a drawn (opaque) pixel.
inline int Red(uint32_t pixel) {
    return int(pixel >> 16 & 0xFF);
}
inline int Green(uint32_t pixel) {
    return int(pixel >> 8 & 0xFF);
}
inline int Blue(uint32_t pixel) {
    return int(pixel & 0xFF);
}
