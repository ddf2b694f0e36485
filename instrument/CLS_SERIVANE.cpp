#include "instrument/CLS_SERIVANE.h"

#include "engine/BandName.h"
#include "gui/IGraphics.h"
#include "gui/ITextControl.h"
#include "instrument/EditorLayout.h"
#include "instrument/FactoryPresets.h"
#include "instrument/ParameterTable.h"
#include "instrument/StatusTexts.h"
#include "platform/Clock.h"

#include <algorithm>

namespace {

constexpr int32_t FourCharCode(const char (&code)[5]) {
    return static_cast<int32_t>(
        static_cast<uint32_t>(code[0]) << 24 | static_cast<uint32_t>(code[1]) << 16 |
        static_cast<uint32_t>(code[2]) << 8 | static_cast<uint32_t>(code[3]));
}

IEffectConfig SerivaneConfig() {
    IEffectConfig config;
    config.paramCount = kNumParams;
    config.channelIO = "0-2";
    config.presetCount = 150;
    config.effectName = "Serivane";
    config.productName = "";
    config.manufacturerName = "Tolvane";
    config.version = SERIVANE_VERSION_CODE;
    config.uniqueId = FourCharCode("QZ4R");
    config.manufacturerId = FourCharCode("TlVn");
    config.latency = 0;
    config.receivesMidi = true;
    config.stateAsChunk = false;
    config.isInstrument = true;
    return config;
}

// The waveform picture shows one frame per "Wave" entry.
constexpr double kLastWave = 6.0;

// About 5 ms at 48 kHz between the status line's clock reads.
constexpr int kFramesPerClockRead = 256;

// Graph boxes in the editor: the frequency graph on the left, the volume graph on the right.
constexpr int kGraphTop = 294;
constexpr int kGraphBottom = 442;

// A sample rate the engine can work with; hosts have been seen to send 0 before setup.
bool UsableSampleRate(double rate) {
    return rate >= 1.0 && rate <= 10'000'000.0;
}

} // namespace

CLS_SERIVANE::CLS_SERIVANE()
    : IEffectVST3(SerivaneConfig(), 0), engine_(InputChannelCount() == 2),
      freqGraph_(13, kGraphTop, 299, kGraphBottom, EnvelopeKind::Frequency),
      volGraph_(303, kGraphTop, 589, kGraphBottom, EnvelopeKind::Volume) {
    DefineSerivaneParameters(*this);
    SerivaneEditor editor = BuildSerivaneEditor(*this);
    IGraphics& graphics = *editor.graphics;
    IEffectVST3::AttachEditor(std::move(editor.graphics));
    graphics.SetHandleMouseOver(true);
    status_.SetControl(editor.statusLine);
    bandLabel_ = editor.bandLabel;
    beatLabel_ = editor.beatLabel;
    wavePicture_ = editor.wavePicture;
    graphics_ = &graphics;
    AddFactoryPresets(*this);
}

CLS_SERIVANE::~CLS_SERIVANE() = default;

void CLS_SERIVANE::AttachEditor(std::unique_ptr<IEditorContext> editor) {
    std::lock_guard lock(Mutex());
    status_.SetControl(nullptr);
    bandLabel_ = nullptr;
    beatLabel_ = nullptr;
    graphics_ = nullptr;
    IEffectVST3::AttachEditor(std::move(editor));
}

std::string CLS_SERIVANE::BandText() const {
    const ITextControl* label = bandLabel_.load();
    return label ? label->TextCopy() : std::string();
}

std::string CLS_SERIVANE::BeatText() const {
    const ITextControl* label = beatLabel_.load();
    return label ? label->TextCopy() : std::string();
}

void CLS_SERIVANE::OnParamChanged(int index) {
    std::lock_guard lock(Mutex());
    const IParamModel* param = ParamAt(index);
    if (!param) return;
    const int32_t key = ParamKey(index, param->Value());
    if (!keys_.Changed(index, key)) return;
    ApplyKey(index, key);
    OnStatusText(index);
    CountTowardsRenderGate(index);
}

void CLS_SERIVANE::ApplyKey(int index, int32_t key) {
    if (index <= kVolume) {
        engine_.ApplyParamKey(index, key);
        if (index == kBinaural) {
            ShowBeat();
        } else if (index == kWave) {
            if (IGraphics* graphics = graphics_.load())
                graphics->ShowControlValue(wavePicture_, key / kLastWave);
        }
        return;
    }
    EnvelopeGraphModel& graph = index <= kQfreq ? freqGraph_ : volGraph_;
    graph.ApplyParamKey(index, key);
    // The sound follows at once, whether or not an editor shows the graph.
    if (index != kFreqGraph) graph.Push(engine_);
}

// The band's name and the beat itself, under it.
void CLS_SERIVANE::ShowBeat() {
    const float hz = engine_.Settings().binauralHz;
    if (ITextControl* label = bandLabel_.load()) label->SetText(BandName(hz));
    if (ITextControl* label = beatLabel_.load()) {
        char text[32];
        FormatBeatText(hz, text, sizeof text);
        label->SetText(text);
    }
}

void CLS_SERIVANE::CountTowardsRenderGate(int index) {
    if (RenderEnabled()) return;
    if (!tallySeen_[index]) {
        tallySeen_[index] = true;
        --tallyRemaining_;
    }
    if (tallyRemaining_ <= 0) SetRenderEnabled(true);
}

void CLS_SERIVANE::RenderBlock(double** inputs, double** outputs, int frames) {
    if (!engine_.Initialised()) {
        engine_.Initialise();
        OnReset();
    }
    // Graph edits made before the first block (a restored project, automation) or by the user in
    // the editor reach the sound here; the editor's drawing never pushes them.
    freqGraph_.Push(engine_);
    volGraph_.Push(engine_);
    // Only a line with a deadline needs the clock, and only every few milliseconds of sound: an
    // expiry that late goes unseen, and small blocks do not pay for a clock read each. A block of
    // no frames counts as one, so that expiry never stalls.
    framesSinceClock_ += std::max(frames, 1);
    if (framesSinceClock_ >= kFramesPerClockRead) {
        framesSinceClock_ = 0;
        if (status_.Deadline() != 0) status_.Expire(ProcessClockMs());
    }
    engine_.Render(inputs, outputs, frames, GetTransportState() != 0, HostSamplePosition());
}

void CLS_SERIVANE::OnReset() {
    std::lock_guard lock(Mutex());
    if (!engine_.Initialised()) return;
    const double fallback = engine_.SampleRate() > 0.0 ? engine_.SampleRate() : 44100.0;
    const double rate = UsableSampleRate(SampleRate()) ? SampleRate() : fallback;
    if (rate != engine_.SampleRate()) {
        engine_.SetSampleRate(rate);
        for (int index : {kLowFreq, kBinaural, kRate}) {
            keys_.Forget(index);
            OnParamChanged(index);
        }
    }
    engine_.FadeInAtNextBlock();
}

void CLS_SERIVANE::OnActivate(bool active) {
    std::lock_guard lock(Mutex());
    if (active) OnReset();
}

void CLS_SERIVANE::OnStatusText(int index) {
    std::lock_guard lock(Mutex());
    if (engine_.SampleRate() == 0.0) return;
    char text[StatusLine::kCapacity];
    FormatStatusText(index, engine_, *this, text, sizeof text);
    status_.Show(text, ProcessClockMs());
}

bool CLS_SERIVANE::AcceptStoredParam(int index, int presetIndex) {
    std::lock_guard lock(Mutex());
    return PresetOwnsParam(presetIndex, index);
}

void CLS_SERIVANE::WriteGraphParam(int index, double value) {
    std::lock_guard lock(Mutex());
    IParamModel* param = ParamAt(index);
    if (!param) return;
    param->SetClamped(value);
    PerformParamEdit(index, param->NormalizedValue());
    keys_.Changed(index, ParamKey(index, param->Value()));
}

void CLS_SERIVANE::ReadTonePlaces(ToneReadout& out) const {
    if (engine_.Initialised())
        ReadTones(engine_, out);
    else
        ReadRestingTones(engine_.Settings(), freqGraph_.Envelope(), volGraph_.Envelope(), out);
}

void CLS_SERIVANE::ShowStatus(const char* text) {
    status_.Show(text, ProcessClockMs());
}
