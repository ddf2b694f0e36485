#pragma once

#include "framework/HostTypes.h"
#include "framework/IEditorContext.h"
#include "framework/IParamModel.h"
#include "framework/IPresetEntry.h"
#include "framework/IStateChunk.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

// Identity and shape of a plug-in, handed to the base at construction.
struct IEffectConfig {
    int32_t paramCount = 0;
    const char* channelIO = "0-2";
    int32_t presetCount = 0;
    const char* effectName = "";
    const char* productName = "";
    const char* manufacturerName = "";
    int32_t version = 0; // 0xVVVVRRMM
    int32_t uniqueId = 0;
    int32_t manufacturerId = 0;
    int32_t latency = 0;
    bool receivesMidi = false;
    bool stateAsChunk = false;
    bool isInstrument = false;
    int32_t interfaceKind = 0;
};

struct IChannelIO {
    int32_t inputs = 0;
    int32_t outputs = 0;
};

struct IInputChannel {
    bool connected = false;
    double** source = nullptr;
    std::vector<double> scratch;
};

struct IOutputChannel {
    bool connected = false;
    double** destination = nullptr;
    float* singleDestination = nullptr;
    std::vector<double> scratch;
};

// The plug-in object shared by every plug-in on this framework: identity, parameters, preset
// slots, channel buffers, the editor link and the re-entrant mutex that orders all work on it.
class IEffectBase {
public:
    explicit IEffectBase(const IEffectConfig& config);
    IEffectBase(const IEffectBase&) = delete;
    IEffectBase& operator=(const IEffectBase&) = delete;

    // Hooks. Defaults do nothing or only take and release the mutex.
    virtual ~IEffectBase();
    virtual void OnReset();
    virtual void OnParamChanged(int index);
    virtual void RenderBlock(double** inputs, double** outputs, int frames);
    virtual void OnEditorOpen() {}
    virtual void OnEditorClose() {}
    virtual void OnActivate(bool active);
    virtual void OnMidiMessage(const IMidiMessage&) {}
    virtual bool WriteState(IStateChunk& chunk);
    virtual int ReadState(const IStateChunk& chunk, int pos);
    virtual void OnStatusText(int index);
    virtual bool AcceptStoredParam(int index, int presetIndex);
    // Called by LoadPreset, under the mutex and on the loading thread, once the slot is current.
    // renamed: the slot had never been filled and got a name; no parameter changed.
    virtual void OnPresetLoaded(int, bool) {}
    virtual int GetInterfaceKind() const { return interfaceKind_; }

    // Host operations, implemented by the host adapter.
    virtual void BeginParamEdit(int index) = 0;
    virtual void PerformParamEdit(int index, double normalized) = 0;
    virtual void EndParamEdit(int index) = 0;
    virtual void ShowHostParamMenu(int, int, int) {}
    virtual int32_t HostSamplePosition() = 0;
    virtual double HostTempo() = 0;
    virtual void HostTimeSignature(int* numerator, int* denominator) = 0;
    virtual EHostId GetHostId() const { return host_; }
    virtual void ResizeEditor(int width, int height) = 0;
    virtual void AttachEditor(std::unique_ptr<IEditorContext> editor);
    virtual void SetBlockSize(int frames);
    virtual void SetLatency(int samples) { latency_ = samples; }
    virtual bool SendMidiMessage(const IMidiMessage& message) = 0;
    bool SendMidiMessages(const std::vector<IMidiMessage>& messages);

    // Writes every parameter value in index order.
    virtual bool WriteParams(IStateChunk& chunk);
    // Reads values from pos on; returns the position after the last value or -1 when the chunk
    // ended early. A preset recall consults AcceptStoredParam; a state restore applies all.
    virtual int ReadParams(const IStateChunk& chunk, int pos, bool presetRecall = false);

    // Parameters.
    IParamModel* ParamAt(int index) const;
    int ParamCount() const { return paramCount_; }
    void SetParamFromEditor(int index, double normalized);
    void RefreshEditorControls();
    // A wheel step is about to change the parameter: begins its gesture unless a wheel gesture on
    // it is still running; one running on another parameter ends first.
    void BeginWheelEdit(int index);
    // After a wheel step: the gesture a wheel step began on the parameter ends when the editor's
    // countdown runs out, at once without an editor. Nothing when no wheel step began one.
    void DeferEndParamEdit(int index);
    void FlushDeferredEndEdit();
    std::vector<std::string>& ParamGroups() { return paramGroups_; }

    // Preset slots.
    int PresetCount() const { return static_cast<int>(presets_.size()); }
    const char* PresetName(int index) const;
    void NameFreePresets(const char* name, int count);
    // Fills the first free slot with one value per parameter in index order; values of the
    // integer kinds are taken as 32-bit integers, as the stored layout requires.
    bool AddPreset(const char* name, std::span<const double> values);
    bool LoadPreset(int index);
    std::string NextUserPresetName() const;
    int CurrentPreset() const { return currentPreset_; }
    void SetCurrentPreset(int index) { currentPreset_ = index; }
    const IPresetEntry* PresetAt(int index) const;

    // Channels and buffers.
    int InputChannelCount() const { return static_cast<int>(inputs_.size()); }
    int OutputChannelCount() const { return static_cast<int>(outputs_.size()); }
    const std::vector<IChannelIO>& ChannelConfigurations() const { return channelIO_; }
    bool AcceptsChannels(int inputs, int outputs) const;
    void SetInputConnections(int first, int count, bool connected);
    void SetOutputConnections(int first, int count, bool connected);
    bool InputConnected(int index) const { return inputs_[static_cast<size_t>(index)].connected; }
    bool OutputConnected(int index) const { return outputs_[static_cast<size_t>(index)].connected; }
    void BindInputBuffers(int first, int count, float** buffers, int frames);
    void BindInputBuffers(int first, int count, double** buffers, int frames);
    void BindOutputBuffers(int first, int count, float** buffers, int frames);
    void BindOutputBuffers(int first, int count, double** buffers, int frames);
    // Single precision renders into the scratch buffers and converts. Frames beyond the block
    // size are never rendered: the host adapter splits larger blocks.
    void RenderBuffers32(int frames);
    void RenderBuffers64(int frames);
    void BypassBuffers32(int frames);
    void BypassBuffers64(int frames);
    void ClearScratchBuffers();
    int BlockSize() const { return blockSize_; }

    // Bus labels.
    void SetInputBusName(int index, const char* text);
    void SetOutputBusName(int index, const char* text);
    const std::vector<std::string>& InputBusLabels() const { return inputBusLabels_; }
    const std::vector<std::string>& OutputBusLabels() const { return outputBusLabels_; }

    // Identity and host.
    void RecordHost(const char* name, int version);
    static EHostId LookUpHostId(const char* name);
    std::string GetEffectVersionText() const;
    const char* EffectName() const { return effectName_.c_str(); }
    const char* ProductName() const { return productName_.c_str(); }
    const char* ManufacturerName() const { return manufacturerName_.c_str(); }
    int32_t UniqueId() const { return uniqueId_; }
    int32_t ManufacturerId() const { return manufacturerId_; }
    int32_t Version() const { return version_; }
    int32_t HostVersion() const { return hostVersion_; }
    int32_t Latency() const { return latency_; }
    int32_t TailSamples() const { return tailSamples_; }
    bool IsInstrument() const { return isInstrument_; }
    bool ReceivesMidi() const { return receivesMidi_; }
    bool StateAsChunk() const { return stateAsChunk_; }

    // Processing state.
    std::recursive_mutex& Mutex() const { return mutex_; }
    double SampleRate() const { return sampleRate_; }
    void SetSampleRate(double rate) { sampleRate_ = rate; }
    bool Bypassed() const { return bypassed_; }
    void SetBypassed(bool bypassed) { bypassed_ = bypassed; }
    bool RenderEnabled() const { return renderEnabled_; }
    void SetRenderEnabled(bool enabled) { renderEnabled_ = enabled; }
    IEditorContext* Editor() const { return editor_.get(); }

protected:
    // The base's own copy-through render, also used for bypass.
    void DefaultRenderBlock(double** inputs, double** outputs, int frames);

private:
    void ConvertToSingle(int frames);

    std::vector<IChannelIO> channelIO_;
    int paramCount_ = 0;
    std::unique_ptr<IParamModel[]> params_;
    std::vector<IPresetEntry> presets_;
    std::atomic<int> currentPreset_{0};
    int wheelEdit_ = -1; // parameter whose gesture a wheel step began and nothing ended yet
    mutable std::recursive_mutex mutex_;
    std::atomic<bool> renderEnabled_{false};
    bool isInstrument_ = false;
    std::atomic<bool> bypassed_{false};
    std::vector<std::string> paramGroups_;
    double sampleRate_ = 44100.0;
    int32_t latency_ = 0;
    std::string effectName_;
    std::string productName_;
    std::string manufacturerName_;
    int32_t uniqueId_ = 0;
    int32_t manufacturerId_ = 0;
    int32_t version_ = 0;
    EHostId host_ = kHostUnknown;
    int32_t interfaceKind_ = 0;
    int32_t hostVersion_ = 0;
    bool stateAsChunk_ = false;
    bool receivesMidi_ = false;
    int blockSize_ = 0;
    int32_t tailSamples_ = 0;
    std::unique_ptr<IEditorContext> editor_;
    std::vector<double*> inputPointers_;
    std::vector<double*> outputPointers_;
    std::vector<IInputChannel> inputs_;
    std::vector<IOutputChannel> outputs_;
    std::vector<std::string> inputBusLabels_;
    std::vector<std::string> outputBusLabels_;
};
