#pragma once

#include "engine/ParamActions.h"
#include "engine/ParamIds.h"
#include "engine/ToneEngine.h"
#include "instrument/EnvelopeGraphModel.h"
#include "instrument/StatusLine.h"
#include "instrument/ToneReadout.h"
#include "vst3/IEffectVST3.h"

#include <atomic>
#include <memory>
#include <string>

class IGraphics;
class ITextControl;

// The binaural-beat instrument: the tone engine driven by 22 parameters, with its presets,
// status line, band label and envelope graphs.
class CLS_SERIVANE : public IEffectVST3 {
public:
    CLS_SERIVANE();
    ~CLS_SERIVANE() override;

    void OnParamChanged(int index) override;
    void RenderBlock(double** inputs, double** outputs, int frames) override;
    void OnReset() override;
    void OnActivate(bool active) override;
    void OnStatusText(int index) override;
    bool AcceptStoredParam(int index, int presetIndex) override;
    // Another editor in place of the instrument's own: the instrument forgets the controls it
    // wrote into, which go with the old editor.
    void AttachEditor(std::unique_ptr<IEditorContext> editor) override;

    const ToneEngine& Engine() const { return engine_; }
    std::string StatusText() const { return status_.Text(); }
    uint32_t StatusDeadline() const { return status_.Deadline(); }
    std::string BandText() const;
    // The beat under the band label, as "7.83 Hz".
    std::string BeatText() const;
    const EnvelopeGraphModel& FrequencyGraph() const { return freqGraph_; }
    const EnvelopeGraphModel& VolumeGraph() const { return volGraph_; }

    // For the editor's graph and sweep controls.
    EnvelopeGraphModel& Graph(EnvelopeKind kind) {
        return kind == EnvelopeKind::Frequency ? freqGraph_ : volGraph_;
    }
    // Pushes the graph's pending edits into the engine; false before the first block. Callers
    // hold Mutex().
    bool PushGraph(EnvelopeKind kind) { return Graph(kind).Push(engine_); }
    // Brings the graph's curve up to date for drawing, with or without audio; the sound is not
    // touched. Callers hold Mutex().
    void RefreshGraph(EnvelopeKind kind) { Graph(kind).RefreshCurve(engine_.Settings()); }
    // Where the tones are, for the editor: the engine's places, or before the first block the
    // places that block will give them. Callers hold Mutex().
    void ReadTonePlaces(ToneReadout& out) const;
    // A graph's edit of one of its parameters: stored and reported to the host. The graph has
    // changed its own copy already, so the value counts as applied.
    void WriteGraphParam(int index, double value);
    // A hint on the status line, emptied after the usual time.
    void ShowStatus(const char* text);

private:
    void ApplyKey(int index, int32_t key);
    void ShowBeat();
    void CountTowardsRenderGate(int index);

    ToneEngine engine_;
    ParamKeyFilter keys_;
    // Which parameters have been applied once; rendering starts when all have.
    bool tallySeen_[kNumParams] = {};
    int tallyRemaining_ = kNumParams;
    StatusLine status_;
    // Frames rendered since the audio thread last read the clock for the status line's expiry.
    int framesSinceClock_ = 0;
    // Controls of the instrument's own editor, which the change handler writes into.
    std::atomic<ITextControl*> bandLabel_{nullptr};
    std::atomic<ITextControl*> beatLabel_{nullptr};
    std::atomic<IGraphics*> graphics_{nullptr};
    int wavePicture_ = -1;
    EnvelopeGraphModel freqGraph_;
    EnvelopeGraphModel volGraph_;
};
