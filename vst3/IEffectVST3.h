#pragma once

#include "framework/IEffectBase.h"
#include "gui/IEditorWindow.h"
#include "vst3/HostNotifications.h"
#include "vst3/SingleComponentEffect.h"

#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <memory>
#include <mutex>
#include <vector>

class IEffectVST3View;
class IGraphics;

// The framework's plug-in object as a VST3 component, audio processor, edit controller and unit
// provider, all in one object. Framework parameter i is host parameter i; two further host ids
// carry the program change and the bypass state.
class IEffectVST3 : public IEffectBase,
                    public SingleComponentEffect,
                    public Steinberg::Vst::IUnitInfo {
public:
    static constexpr Steinberg::Vst::ParamID kProgramParamId = 0x70727374; // 'prst'
    static constexpr Steinberg::Vst::ParamID kBypassParamId = 0x62706173;  // 'bpas'
    static constexpr Steinberg::Vst::ProgramListID kProgramListId = 0x70727374;
    // Larger host blocks are rendered in pieces of this size, so no buffer grows while playing.
    static constexpr int kMaxPreparedBlock = 8192;
    // A state stream is read up to this size; the rest of a stream that never ends is ignored.
    static constexpr int kMaxStateBytes = 1 << 20;

    IEffectVST3(IEffectConfig config, int sideChainChannels);

    ~IEffectVST3() override;

    // IPluginBase
    Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) override;
    // Forgets the open views; they stay alive until the host releases them.
    Steinberg::tresult PLUGIN_API terminate() override;

    // IComponent
    Steinberg::tresult PLUGIN_API setActive(Steinberg::TBool state) override;

    // IAudioProcessor
    Steinberg::tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs,
                                                     Steinberg::int32 numIns,
                                                     Steinberg::Vst::SpeakerArrangement* outputs,
                                                     Steinberg::int32 numOuts) override;
    Steinberg::tresult PLUGIN_API canProcessSampleSize(Steinberg::int32 symbolicSize) override;
    Steinberg::uint32 PLUGIN_API getLatencySamples() override;
    Steinberg::tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) override;
    Steinberg::tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) override;
    Steinberg::uint32 PLUGIN_API getTailSamples() override;

    // IEditController
    Steinberg::tresult PLUGIN_API getParamStringByValue(Steinberg::Vst::ParamID id,
                                                        Steinberg::Vst::ParamValue normalized,
                                                        Steinberg::Vst::String128 text) override;
    Steinberg::tresult PLUGIN_API
    getParamValueByString(Steinberg::Vst::ParamID id, Steinberg::Vst::TChar* text,
                          Steinberg::Vst::ParamValue& normalized) override;
    Steinberg::Vst::ParamValue PLUGIN_API normalizedParamToPlain(
        Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue normalized) override;
    Steinberg::Vst::ParamValue PLUGIN_API
    plainParamToNormalized(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue plain) override;
    Steinberg::Vst::ParamValue PLUGIN_API getParamNormalized(Steinberg::Vst::ParamID id) override;
    Steinberg::tresult PLUGIN_API setParamNormalized(Steinberg::Vst::ParamID id,
                                                     Steinberg::Vst::ParamValue value) override;
    Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) override;

    // IUnitInfo
    Steinberg::int32 PLUGIN_API getUnitCount() override;
    Steinberg::tresult PLUGIN_API getUnitInfo(Steinberg::int32 unitIndex,
                                              Steinberg::Vst::UnitInfo& info) override;
    Steinberg::int32 PLUGIN_API getProgramListCount() override;
    Steinberg::tresult PLUGIN_API
    getProgramListInfo(Steinberg::int32 listIndex, Steinberg::Vst::ProgramListInfo& info) override;
    Steinberg::tresult PLUGIN_API getProgramName(Steinberg::Vst::ProgramListID listId,
                                                 Steinberg::int32 programIndex,
                                                 Steinberg::Vst::String128 name) override;
    Steinberg::tresult PLUGIN_API getProgramInfo(Steinberg::Vst::ProgramListID listId,
                                                 Steinberg::int32 programIndex,
                                                 Steinberg::Vst::CString attributeId,
                                                 Steinberg::Vst::String128 value) override;
    Steinberg::tresult PLUGIN_API hasProgramPitchNames(Steinberg::Vst::ProgramListID listId,
                                                       Steinberg::int32 programIndex) override;
    Steinberg::tresult PLUGIN_API getProgramPitchName(Steinberg::Vst::ProgramListID listId,
                                                      Steinberg::int32 programIndex,
                                                      Steinberg::int16 midiPitch,
                                                      Steinberg::Vst::String128 name) override;
    Steinberg::Vst::UnitID PLUGIN_API getSelectedUnit() override;
    Steinberg::tresult PLUGIN_API selectUnit(Steinberg::Vst::UnitID unitId) override;
    Steinberg::tresult PLUGIN_API getUnitByBus(Steinberg::Vst::MediaType type,
                                               Steinberg::Vst::BusDirection dir,
                                               Steinberg::int32 busIndex, Steinberg::int32 channel,
                                               Steinberg::Vst::UnitID& unitId) override;
    Steinberg::tresult PLUGIN_API setUnitProgramData(Steinberg::int32 listOrUnitId,
                                                     Steinberg::int32 programIndex,
                                                     Steinberg::IBStream* data) override;

    // Tells the host, through its component and unit handlers, of the changes it did not make:
    // parameter values after a program change or a state restore, program names after an unfilled
    // slot was named. UI thread only. The audio thread never calls the host, it only flags; the
    // flags are delivered here, after setState and from a timer on the host's user-interface
    // thread (the controller's own while it lives, else the open editor's), never from inside
    // one of the host's queries.
    void DeliverHostNotifications();

    // Host operations of the plug-in base.
    void BeginParamEdit(int index) override;
    void PerformParamEdit(int index, double normalized) override;
    void EndParamEdit(int index) override;
    int32_t HostSamplePosition() override;
    double HostTempo() override;
    void HostTimeSignature(int* numerator, int* denominator) override;
    void ResizeEditor(int width, int height) override;
    void ShowHostParamMenu(int index, int x, int y) override;
    void SetLatency(int samples) override;
    bool SendMidiMessage(const IMidiMessage& message) override;
    virtual bool IsOfflineRender() const;
    virtual int GetTransportState() const;
    virtual void GetTransportInfo(ITransportInfo& info) const;
    void OnPresetLoaded(int index, bool renamed) override;

    // The editor as the views see it.
    IGraphics* Graphics() const;
    void AddView(IEffectVST3View* view);
    void RemoveView(IEffectVST3View* view);
    std::vector<IEffectVST3View*> OpenViews() const;
    // Opens the editor window for view inside parent, closing one another view opened first;
    // false when no window could be made.
    bool OpenEditorWindowFor(IEffectVST3View& view, void* parent);
    // Closes the editor window when view opened it.
    void CloseEditorWindowOf(IEffectVST3View& view);
    // Sets the editor's scale for view: a window view opened inside parent is made again at the
    // new size, and the host's frame is asked for it. False while another view shows the editor.
    bool ScaleEditorFor(IEffectVST3View& view, double factor, void* parent);
    bool EditorWindowOpen() const { return editorWindow_ != nullptr; }

    OBJ_METHODS(IEffectVST3, SingleComponentEffect)
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    REFCOUNT_METHODS(SingleComponentEffect)

protected:
    Steinberg::tresult RestoreComponentState(Steinberg::IBStream* state) override;
    Steinberg::tresult SaveComponentState(Steinberg::IBStream* state) override;
    Steinberg::tresult RestoreControllerState(Steinberg::IBStream* state) override;
    Steinberg::tresult SaveControllerState(Steinberg::IBStream* state) override;

private:
    void CreateBuses();
    void CreateParameters();
    Steinberg::Vst::UnitID UnitOfGroup(const char* group);
    int ProgramIndexFor(double normalized) const;
    double ProgramNormalized() const;

    // Runs DeliverHostNotifications on the loop's timer; null when there is no loop or it refuses
    // the timer.
    std::unique_ptr<IRunLoopLink> NotificationTimerOn(std::unique_ptr<IRunLoopLink> loop);

    void ApplyParameterChanges(Steinberg::Vst::IParameterChanges* changes);
    void ApplyParameterChange(Steinberg::Vst::ParamID id, double value);
    void PassMidiEvents(Steinberg::Vst::IEventList* events);
    void ProcessAudio(Steinberg::Vst::ProcessData& data);
    void ConnectBuses(const Steinberg::Vst::ProcessData& data, bool single);
    void BindBuses(const Steinberg::Vst::ProcessData& data, int offset, int frames, bool single);
    void SilenceOutputs(const Steinberg::Vst::ProcessData& data, bool single);

    int sideChainChannels_;
    HostNotifications notifications_;
    Steinberg::Vst::ProcessContext processContext_{};
    // Host buffer pointers moved to the current piece of a block; sized once, at construction.
    std::vector<float*> piece32_;
    std::vector<double*> piece64_;
    // Views live on the host's user-interface thread; an editor without the host's run loop
    // reaches them from its own thread, so the list is guarded.
    mutable std::mutex viewsMutex_;
    std::vector<IEffectVST3View*> views_;
    std::unique_ptr<IEditorWindow> editorWindow_;
    IEffectVST3View* windowOwner_ = nullptr;
    // The notification timer from initialize to terminate, and the one on the editor's frame
    // while a window is open in a host that offers its loop only there.
    std::unique_ptr<IRunLoopLink> notificationLoop_;
    std::unique_ptr<IRunLoopLink> editorNotificationLoop_;
};

// The speaker arrangement used for an audio bus of the given channel count; empty when none fits.
Steinberg::Vst::SpeakerArrangement ArrangementForChannels(int channels);
