#include "framework/IEffectBase.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

constexpr size_t kEffectTextCapacity = 127;

std::string Capped(const char* text, size_t capacity) {
    if (!text) return {};
    return std::string(text, strnlen(text, capacity));
}

std::vector<IChannelIO> ParseChannelIO(const char* text) {
    std::vector<IChannelIO> configurations;
    const char* token = text ? text : "";
    while (*token) {
        IChannelIO io;
        std::sscanf(token, "%d-%d", &io.inputs, &io.outputs);
        configurations.push_back(io);
        const char* space = std::strchr(token, ' ');
        if (!space) break;
        token = space + 1;
    }
    return configurations;
}

} // namespace

IEffectBase::IEffectBase(const IEffectConfig& config)
    : channelIO_(ParseChannelIO(config.channelIO)), paramCount_(std::max(0, config.paramCount)),
      params_(new IParamModel[static_cast<size_t>(paramCount_)]),
      presets_(static_cast<size_t>(std::max(0, config.presetCount))),
      isInstrument_(config.isInstrument), latency_(config.latency),
      effectName_(Capped(config.effectName, kEffectTextCapacity)),
      productName_(Capped(config.productName, kEffectTextCapacity)),
      manufacturerName_(Capped(config.manufacturerName, kEffectTextCapacity)),
      uniqueId_(config.uniqueId), manufacturerId_(config.manufacturerId), version_(config.version),
      interfaceKind_(config.interfaceKind), stateAsChunk_(config.stateAsChunk),
      receivesMidi_(config.receivesMidi) {
    int inputs = 0;
    int outputs = 0;
    for (const IChannelIO& io : channelIO_) {
        inputs = std::max(inputs, io.inputs);
        outputs = std::max(outputs, io.outputs);
    }
    inputPointers_.assign(static_cast<size_t>(inputs), nullptr);
    outputPointers_.assign(static_cast<size_t>(outputs), nullptr);
    inputs_.resize(static_cast<size_t>(inputs));
    outputs_.resize(static_cast<size_t>(outputs));
    for (int i = 0; i < inputs; ++i) inputs_[i].source = &inputPointers_[i];
    for (int i = 0; i < outputs; ++i) outputs_[i].destination = &outputPointers_[i];
    for (size_t i = 0; i < presets_.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "- %d -", static_cast<int>(i) + 1);
        presets_[i].name = name;
    }
}

// The editor goes first: its controls may still refer to the plug-in's parameters.
IEffectBase::~IEffectBase() {
    editor_.reset();
}

void IEffectBase::OnReset() {
    std::lock_guard lock(mutex_);
}

void IEffectBase::OnParamChanged(int) {
    std::lock_guard lock(mutex_);
}

void IEffectBase::RenderBlock(double** inputs, double** outputs, int frames) {
    DefaultRenderBlock(inputs, outputs, frames);
}

void IEffectBase::OnActivate(bool) {
    std::lock_guard lock(mutex_);
}

void IEffectBase::OnStatusText(int) {
    std::lock_guard lock(mutex_);
}

bool IEffectBase::AcceptStoredParam(int, int) {
    std::lock_guard lock(mutex_);
    return true;
}

bool IEffectBase::SendMidiMessages(const std::vector<IMidiMessage>& messages) {
    bool all = true;
    for (const IMidiMessage& message : messages) all = SendMidiMessage(message) && all;
    return all;
}

IParamModel* IEffectBase::ParamAt(int index) const {
    return index >= 0 && index < paramCount_ ? &params_[static_cast<size_t>(index)] : nullptr;
}

void IEffectBase::SetParamFromEditor(int index, double normalized) {
    std::lock_guard lock(mutex_);
    IParamModel* param = ParamAt(index);
    if (!param) return;
    param->SetFromNormalized(normalized);
    PerformParamEdit(index, param->NormalizedValue());
    OnParamChanged(index);
}

void IEffectBase::RefreshEditorControls() {
    if (!editor_) return;
    for (int i = 0; i < paramCount_; ++i)
        editor_->ShowParamInControls(i, params_[static_cast<size_t>(i)].Value(), false);
}

void IEffectBase::BeginWheelEdit(int index) {
    std::lock_guard lock(mutex_);
    if (wheelEdit_ == index) return;
    if (wheelEdit_ >= 0) EndParamEdit(wheelEdit_);
    BeginParamEdit(index);
    wheelEdit_ = index;
}

void IEffectBase::DeferEndParamEdit(int index) {
    std::lock_guard lock(mutex_);
    if (wheelEdit_ != index) return;
    if (!editor_) {
        EndParamEdit(index);
        wheelEdit_ = -1;
        return;
    }
    editor_->StartGestureCountdown(std::max(1, editor_->FrameRate() / 2));
}

void IEffectBase::FlushDeferredEndEdit() {
    std::lock_guard lock(mutex_);
    if (editor_) editor_->StopGestureCountdown();
    if (wheelEdit_ < 0) return;
    EndParamEdit(wheelEdit_);
    wheelEdit_ = -1;
}

void IEffectBase::AttachEditor(std::unique_ptr<IEditorContext> editor) {
    if (!editor) return;
    std::lock_guard lock(mutex_);
    for (int i = 0; i < paramCount_; ++i)
        editor->ShowParamInControls(i, params_[static_cast<size_t>(i)].NormalizedValue(), true);
    editor->PrepareDraw();
    editor_ = std::move(editor);
}

void IEffectBase::SetInputBusName(int index, const char* text) {
    if (index != 0 && index != 1) return;
    const auto position = static_cast<size_t>(index);
    if (position < inputBusLabels_.size())
        inputBusLabels_[position] = Capped(text, kEffectTextCapacity);
    else
        inputBusLabels_.push_back(Capped(text, kEffectTextCapacity));
}

void IEffectBase::SetOutputBusName(int index, const char* text) {
    if (index < 0) return;
    const auto position = static_cast<size_t>(index);
    if (position < outputBusLabels_.size())
        outputBusLabels_[position] = Capped(text, kEffectTextCapacity);
    else
        outputBusLabels_.push_back(Capped(text, kEffectTextCapacity));
}

void IEffectBase::RecordHost(const char* name, int version) {
    host_ = LookUpHostId(name);
    hostVersion_ = version;
}

EHostId IEffectBase::LookUpHostId(const char* name) {
    static constexpr struct {
        const char* text;
        EHostId id;
    } kHosts[] = {
        {"wavedrafter", kHostWaveDrafter},
        {"cubase", kHostCubase},
        {"reaper", kHostReaper},
        {"nuendo", kHostNuendo},
        {"cakewalk", kHostCakewalk},
        {"samplitude", kHostSamplitude},
        {"fruity", kHostFruity},
        {"live", kHostLive},
        {"melodyne", kHostMelodyne},
        {"vstmanlib", kHostVstManLib},
        {"aulab", kHostAuLab},
        {"forte", kHostForte},
        {"chainer", kHostChainer},
        {"audition", kHostAudition},
        {"orion", kHostOrion},
        {"sawstudio", kHostSawStudio},
        {"logic", kHostLogic},
        {"digital", kHostDigital},
        {"audiomulch", kHostAudioMulch},
        {"presonus", kHostPresonus},
        {"acoustica", kHostAcoustica},
        {"garageband", kHostGarageBand},
        {"ardour", kHostArdour},
        {"wavelab", kHostWaveLab},
        {"gold", kHostGold},
    };
    std::string lower = Capped(name, 255);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const auto& host : kHosts)
        if (lower.find(host.text) != std::string::npos) return host.id;
    return kHostNone;
}

std::string IEffectBase::GetEffectVersionText() const {
    char text[32];
    std::snprintf(text, sizeof text, "v%d.%02d", version_ >> 16, (version_ >> 8) & 0xFF);
    return text;
}
