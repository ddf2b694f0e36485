#include "BundleSession.h"

#include <dlfcn.h>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace serivane::integration {
namespace {

using namespace Steinberg;

TEST(Factory, DescribesOneInstrumentClass) {
    auto module = bundle();
    ASSERT_NE(module, nullptr);
    std::vector<host::ClassDescription> classes = host::describeClasses(module->factory());
    ASSERT_EQ(module->factory()->countClasses(), 1);
    ASSERT_EQ(classes.size(), 1u);
    const host::ClassDescription& c = classes[0];
    EXPECT_EQ(c.name, "Serivane");
    EXPECT_EQ(c.category, "Audio Module Class");
    EXPECT_EQ(c.subCategories, "Instrument");
    EXPECT_EQ(c.version, SERIVANE_VERSION) << "the version of the build";
    EXPECT_EQ(c.sdkVersion, "VST 3.6.5");
    EXPECT_EQ(c.classId, "0DE7AEF24E4FDE006E566C5452345A51");
    EXPECT_EQ(c.cardinality, PClassInfo::kManyInstances);
    EXPECT_EQ(c.classFlags, 2u);

    PFactoryInfo info;
    ASSERT_EQ(module->factory()->getFactoryInfo(&info), kResultOk);
    EXPECT_STREQ(info.vendor, "Tolvane");
    EXPECT_EQ(info.flags, PFactoryInfo::kUnicode);
}

TEST(Factory, TheBundlesModuleInfoStatesWhatTheFactoryReports) {
    auto module = bundle();
    ASSERT_NE(module, nullptr);
    std::ifstream in(SERIVANE_BUNDLE_PATH "/Contents/Resources/moduleinfo.json");
    ASSERT_TRUE(in) << "the build writes the module info";
    const nlohmann::json info = nlohmann::json::parse(in);
    const host::FactoryDescription factory = host::describeFactory(module->factory());
    const host::ClassDescription c = host::describeClasses(module->factory()).at(0);
    EXPECT_EQ(info["Name"], "Serivane");
    EXPECT_EQ(info["Version"], c.version);
    EXPECT_EQ(info["Factory Info"]["Vendor"], factory.vendor);
    EXPECT_EQ(info["Factory Info"]["URL"], factory.url);
    EXPECT_EQ(info["Factory Info"]["Flags"]["Unicode"], true);
    ASSERT_EQ(info["Classes"].size(), 1u);
    const nlohmann::json& entry = info["Classes"][0];
    EXPECT_EQ(entry["CID"], c.classId);
    EXPECT_EQ(entry["Category"], c.category);
    EXPECT_EQ(entry["Name"], c.name);
    EXPECT_EQ(entry["Vendor"], c.vendor);
    EXPECT_EQ(entry["Version"], c.version);
    EXPECT_EQ(entry["SDKVersion"], c.sdkVersion);
    EXPECT_EQ(entry["Sub Categories"], nlohmann::json::array({c.subCategories}));
    EXPECT_EQ(entry["Class Flags"], c.classFlags);
    EXPECT_EQ(entry["Cardinality"], c.cardinality);
}

TEST(Factory, GetPluginFactoryAnswersOneFactoryAndCountsEachCall) {
    auto module = bundle();
    ASSERT_NE(module, nullptr);
    void* handle = dlopen(module->libraryPath().c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(handle, nullptr) << "the host keeps the library loaded";
    auto getFactory = reinterpret_cast<IPluginFactory* (*)()>(dlsym(handle, "GetPluginFactory"));
    for (const char* name : {"ModuleEntry", "ModuleExit", "InitDll", "ExitDll"})
        EXPECT_NE(dlsym(handle, name), nullptr) << name;

    IPluginFactory* first = getFactory();
    uint32 afterFirst = first->addRef() - 1;
    first->release();
    IPluginFactory* second = getFactory();
    uint32 afterSecond = second->addRef() - 1;
    second->release();
    EXPECT_EQ(first, second);
    EXPECT_EQ(first, module->factory());
    EXPECT_EQ(afterSecond, afterFirst + 1);
    second->release();
    first->release();
    dlclose(handle);
}

TEST(Factory, OneObjectServesEveryInterfaceWithCountedReferences) {
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);
    EXPECT_FALSE(plugin->hasSeparateController());
    FUnknown* component = plugin->component();
    uint32 base = component->addRef() - 1;
    EXPECT_EQ(component->release(), base);
    void* controller = nullptr;
    ASSERT_EQ(component->queryInterface(Vst::IEditController::iid, &controller), kResultOk);
    EXPECT_EQ(component->addRef(), base + 2) << "queryInterface adds one reference";
    EXPECT_EQ(component->release(), base + 1);
    EXPECT_EQ(static_cast<Vst::IEditController*>(controller)->release(), base);

    void* unit = nullptr;
    ASSERT_EQ(component->queryInterface(Vst::IUnitInfo::iid, &unit), kResultOk);
    static_cast<FUnknown*>(unit)->release();
}

TEST(Factory, TwoInstancesKeepTheirOwnParametersAndSound) {
    auto first = instantiate();
    auto second = instantiate();
    ASSERT_TRUE(first && second);
    apply(*first, {setting(*first, "Binaural", "7.83"), setting(*first, "Play Anyway", "Yes")});
    EXPECT_NEAR(plainValue(*first, "Binaural"), 7.83, 1e-9);
    EXPECT_NEAR(plainValue(*second, "Binaural"), 11.0, 1e-9);

    Stereo sounding = render(*first, {{}, 0.25, false});
    Stereo silent = render(*second, {{}, 0.25, false});
    double loudest = 0.0;
    for (double s : sounding.left) loudest = std::max(loudest, std::abs(s));
    EXPECT_GT(loudest, 0.0);
    for (double s : silent.left) ASSERT_EQ(s, 0.0);
}

} // namespace
} // namespace serivane::integration
