#include "FuzzInstrument.h"

#include "FuzzCheck.h"
#include "FuzzStreams.h"

#include "pluginterfaces/base/ustring.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

tresult PLUGIN_API NamedHost::getName(String128 text) {
    UString(text, 128).fromAscii(name_.c_str());
    return kResultOk;
}

FuzzInstrument::FuzzInstrument(const char* hostName)
    : host_(hostName), plugin_(new CLS_SERIVANE(), false) {
    Require(plugin_->initialize(static_cast<IHostApplication*>(&host_)) == kResultOk,
            "initialize failed");
    plugin_->activateBus(kAudio, kOutput, 0, true);
    Require(plugin_->setupProcessing(setup_) == kResultOk, "setupProcessing failed");
    plugin_->setActive(true);
}

FuzzInstrument::~FuzzInstrument() {
    plugin_->setActive(false);
    plugin_->terminate();
}

void FuzzInstrument::Reconfigure(double sampleRate, int32 maxBlock, int32 sampleSize) {
    plugin_->setActive(false);
    setup_ = {kRealtime, sampleSize, maxBlock, sampleRate};
    Require(plugin_->setupProcessing(setup_) == kResultOk, "setupProcessing refused %g Hz",
            sampleRate);
    plugin_->setActive(true);
}

std::vector<uint8_t> FuzzInstrument::SavedState() {
    WriteStream stream;
    Require(Component().getState(&stream) == kResultOk, "getState failed");
    return stream.Bytes();
}

ParamID ReadParamId(FuzzReader& input) {
    const int pick = input.Pick(kNumParams + 3);
    if (pick < kNumParams) return static_cast<ParamID>(pick);
    if (pick == kNumParams) return IEffectVST3::kProgramParamId;
    if (pick == kNumParams + 1) return IEffectVST3::kBypassParamId;
    return input.Read<uint32>();
}
