#pragma once

#include "pluginterfaces/base/ipluginbase.h"

#include <atomic>
#include <vector>

// Creates one instance of a registered class as its FUnknown with one reference; null on failure.
using CreateInstanceFunction = Steinberg::FUnknown* (*)();

// The module's class factory: describes the vendor and each registered class and creates
// instances of them. It is reference counted and deletes itself on the last release.
class PluginFactory : public Steinberg::IPluginFactory3 {
public:
    explicit PluginFactory(const Steinberg::PFactoryInfo& info);
    PluginFactory(const PluginFactory&) = delete;
    PluginFactory& operator=(const PluginFactory&) = delete;

    void RegisterClass(const Steinberg::PClassInfo2& info, CreateInstanceFunction create);

    // The process-wide factory: made by create on the first call, counted once more on every
    // later call. It is forgotten when its last reference goes, so a later call makes a new one.
    static Steinberg::IPluginFactory* Shared(Steinberg::IPluginFactory* (*create)());

    // FUnknown
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override;
    Steinberg::uint32 PLUGIN_API release() override;

    // IPluginFactory, IPluginFactory2, IPluginFactory3
    Steinberg::tresult PLUGIN_API getFactoryInfo(Steinberg::PFactoryInfo* info) override;
    Steinberg::int32 PLUGIN_API countClasses() override;
    Steinberg::tresult PLUGIN_API getClassInfo(Steinberg::int32 index,
                                               Steinberg::PClassInfo* info) override;
    Steinberg::tresult PLUGIN_API createInstance(Steinberg::FIDString cid, Steinberg::FIDString iid,
                                                 void** obj) override;
    Steinberg::tresult PLUGIN_API getClassInfo2(Steinberg::int32 index,
                                                Steinberg::PClassInfo2* info) override;
    Steinberg::tresult PLUGIN_API getClassInfoUnicode(Steinberg::int32 index,
                                                      Steinberg::PClassInfoW* info) override;
    Steinberg::tresult PLUGIN_API setHostContext(Steinberg::FUnknown* context) override;

private:
    struct ClassEntry {
        Steinberg::PClassInfo2 info;
        CreateInstanceFunction create;
    };

    virtual ~PluginFactory();
    const ClassEntry* EntryAt(Steinberg::int32 index) const;

    Steinberg::PFactoryInfo info_;
    std::vector<ClassEntry> classes_;
    std::atomic<Steinberg::uint32> refCount_{1};
    Steinberg::FUnknown* hostContext_ = nullptr;
};
