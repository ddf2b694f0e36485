#include "instrument/SerivaneFactory.h"

#include "instrument/CLS_SERIVANE.h"
#include "vst3/PluginFactory.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

#include <exception>
#include <mutex>

using namespace Steinberg;

namespace {

// Byte for byte, on every platform. The last eight bytes are the manufacturer code "TlVn" and
// the unique code "QZ4R", each stored as a little-endian 32-bit integer.
constexpr TUID kSerivaneClassId = {0x0D,
                                   static_cast<int8>(0xE7),
                                   static_cast<int8>(0xAE),
                                   static_cast<int8>(0xF2),
                                   0x4E,
                                   0x4F,
                                   static_cast<int8>(0xDE),
                                   0x00,
                                   0x6E,
                                   0x56,
                                   0x6C,
                                   0x54,
                                   0x52,
                                   0x34,
                                   0x5A,
                                   0x51};

// Instances are built one at a time across the process: hosts may create them from several
// threads at once. No exception may reach the host; a failed construction answers null.
FUnknown* CreateSerivane() {
    static std::mutex constructionLock;
    std::lock_guard lock(constructionLock);
    try {
        return static_cast<Vst::IAudioProcessor*>(new CLS_SERIVANE());
    } catch (const std::exception&) {
        return nullptr;
    }
}

} // namespace

IPluginFactory* CreateSerivaneFactory() {
    auto* factory = new PluginFactory(
        PFactoryInfo("Tolvane", "https://www.tolvane.com", "", PFactoryInfo::kUnicode));
    factory->RegisterClass(PClassInfo2(kSerivaneClassId, PClassInfo::kManyInstances,
                                       kVstAudioEffectClass, "Serivane", Vst::kSimpleModeSupported,
                                       Vst::PlugType::kInstrument, "", SERIVANE_VERSION,
                                       "VST 3.6.5"),
                           &CreateSerivane);
    return factory;
}
