#include "vst3/PluginFactory.h"

#include <cstring>
#include <mutex>

using namespace Steinberg;

namespace {
// Guards the shared factory pointer against a last release racing a new GetPluginFactory.
std::mutex gSharedMutex;
IPluginFactory* gShared = nullptr;
} // namespace

PluginFactory::PluginFactory(const PFactoryInfo& info) : info_(info) {}

PluginFactory::~PluginFactory() {
    if (hostContext_) hostContext_->release();
}

void PluginFactory::RegisterClass(const PClassInfo2& info, CreateInstanceFunction create) {
    classes_.push_back({info, create});
}

IPluginFactory* PluginFactory::Shared(IPluginFactory* (*create)()) {
    std::lock_guard lock(gSharedMutex);
    if (gShared)
        gShared->addRef();
    else
        gShared = create();
    return gShared;
}

tresult PLUGIN_API PluginFactory::queryInterface(const TUID iid, void** obj) {
    if (!obj) return kInvalidArgument;
    QUERY_INTERFACE(iid, obj, FUnknown::iid, IPluginFactory3)
    QUERY_INTERFACE(iid, obj, IPluginFactory::iid, IPluginFactory3)
    QUERY_INTERFACE(iid, obj, IPluginFactory2::iid, IPluginFactory3)
    QUERY_INTERFACE(iid, obj, IPluginFactory3::iid, IPluginFactory3)
    *obj = nullptr;
    return kNoInterface;
}

uint32 PLUGIN_API PluginFactory::addRef() {
    return ++refCount_;
}

uint32 PLUGIN_API PluginFactory::release() {
    uint32 left;
    {
        std::lock_guard lock(gSharedMutex);
        left = --refCount_;
        if (left == 0 && gShared == this) gShared = nullptr;
    }
    if (left == 0) delete this;
    return left;
}

tresult PLUGIN_API PluginFactory::getFactoryInfo(PFactoryInfo* info) {
    if (!info) return kInvalidArgument;
    *info = info_;
    return kResultOk;
}

int32 PLUGIN_API PluginFactory::countClasses() {
    return static_cast<int32>(classes_.size());
}

tresult PLUGIN_API PluginFactory::getClassInfo(int32 index, PClassInfo* info) {
    const ClassEntry* entry = EntryAt(index);
    if (!entry || !info) return kInvalidArgument;
    std::memcpy(info->cid, entry->info.cid, sizeof(TUID));
    info->cardinality = entry->info.cardinality;
    std::memcpy(info->category, entry->info.category, sizeof info->category);
    std::memcpy(info->name, entry->info.name, sizeof info->name);
    return kResultOk;
}

tresult PLUGIN_API PluginFactory::getClassInfo2(int32 index, PClassInfo2* info) {
    const ClassEntry* entry = EntryAt(index);
    if (!entry || !info) return kInvalidArgument;
    *info = entry->info;
    return kResultOk;
}

tresult PLUGIN_API PluginFactory::getClassInfoUnicode(int32 index, PClassInfoW* info) {
    const ClassEntry* entry = EntryAt(index);
    if (!entry || !info) return kInvalidArgument;
    info->fromAscii(entry->info);
    return kResultOk;
}

tresult PLUGIN_API PluginFactory::createInstance(FIDString cid, FIDString iid, void** obj) {
    if (!obj) return kInvalidArgument;
    *obj = nullptr;
    if (!cid || !iid) return kInvalidArgument;
    for (const ClassEntry& entry : classes_) {
        if (std::memcmp(entry.info.cid, cid, sizeof(TUID)) != 0) continue;
        FUnknown* instance = entry.create();
        if (!instance) return kOutOfMemory;
        tresult result = instance->queryInterface(iid, obj);
        instance->release();
        if (result != kResultOk) *obj = nullptr;
        return result;
    }
    return kNoInterface;
}

tresult PLUGIN_API PluginFactory::setHostContext(FUnknown* context) {
    if (context) context->addRef();
    if (hostContext_) hostContext_->release();
    hostContext_ = context;
    return kResultOk;
}

const PluginFactory::ClassEntry* PluginFactory::EntryAt(int32 index) const {
    if (index < 0 || index >= static_cast<int32>(classes_.size())) return nullptr;
    return &classes_[index];
}
