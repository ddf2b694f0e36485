#include "host/Module.h"
#include "host/Plugin.h"

#include <dlfcn.h>
#include <elf.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace serivane::host {
namespace {

namespace fs = std::filesystem;

// A scratch folder for hand-made bundles, removed after each test.
class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        root = fs::temp_directory_path() / (std::string("serivane-host-") + test->name());
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path makeBundle(const std::string& name, const fs::path& library) {
        fs::path folder = root / (name + ".vst3") / "Contents" / "x86_64-linux";
        fs::create_directories(folder);
        fs::copy_file(library, folder / (name + ".so"));
        return root / (name + ".vst3");
    }

    fs::path root;
};

// Keeps the fake module resident so that its counters survive the host's dlclose.
class FakeModule {
public:
    enum Mode { Working = 0, EntryFails = 1, NoFactory = 2 };

    explicit FakeModule(Mode mode) : handle_(dlopen(FAKE_MODULE_PATH, RTLD_NOW | RTLD_LOCAL)) {
        function<void (*)(int)>("fakeModuleSetMode")(mode);
    }
    ~FakeModule() { dlclose(handle_); }

    int exits() { return function<int (*)()>("fakeModuleExits")(); }
    unsigned factoryReferences() {
        return function<unsigned (*)()>("fakeModuleFactoryReferences")();
    }

private:
    template <typename F> F function(const char* name) {
        return reinterpret_cast<F>(dlsym(handle_, name));
    }
    void* handle_;
};

TEST_F(ModuleTest, PathsThatAreNoModuleAreRefusedWithTheirCause) {
    struct Case {
        fs::path path;
        const char* cause;
    };
    fs::create_directories(root / "Plain");
    fs::create_directories(root / "Empty.vst3" / "Contents");
    std::ofstream(root / "text.so") << "not a library";
    std::ofstream(root / "empty.so");
    std::ofstream(root / "header.so")
        << ELFMAG << char(ELFCLASS64) << char(ELFDATA2LSB) << std::string(12, '\0');
    fs::path noExports = makeBundle("NoExports", PLAIN_LIBRARY_PATH);
    for (const Case& c :
         {Case{root / "Missing.vst3", "no such file"}, Case{root / "Plain", "not a VST3 bundle"},
          Case{root / "Empty.vst3", "not a VST3 bundle"}, Case{root / "text.so", "damaged bundle"},
          Case{root / "empty.so", "not an ELF file"},
          Case{root / "header.so", "ELF header is cut short"},
          Case{noExports, "does not export ModuleEntry"}}) {
        std::string error;
        EXPECT_EQ(Module::load(c.path.string(), error), nullptr) << c.path;
        EXPECT_NE(error.find(c.cause), std::string::npos) << error;
        EXPECT_NE(error.find(c.path.filename().string()), std::string::npos) << error;
    }
}

TEST_F(ModuleTest, ABundleFolderAndItsLibraryLoadTheSameModule) {
    fs::path bundle = makeBundle("Fake", FAKE_MODULE_PATH);
    std::string error;
    auto byFolder = Module::load(bundle.string() + "/", error);
    ASSERT_NE(byFolder, nullptr) << error;
    auto byLibrary = Module::load(byFolder->libraryPath(), error);
    ASSERT_NE(byLibrary, nullptr) << error;
    EXPECT_EQ(byFolder->libraryPath(), (bundle / "Contents/x86_64-linux/Fake.so").string());
}

TEST_F(ModuleTest, ALibraryNamedWithoutAFolderLoadsFromTheWorkingFolder) {
    fs::copy_file(FAKE_MODULE_PATH, root / "Fake.so");
    fs::path previous = fs::current_path();
    fs::current_path(root);
    std::string error;
    auto module = Module::load("Fake.so", error);
    fs::current_path(previous);
    ASSERT_NE(module, nullptr) << error;
    EXPECT_EQ(module->libraryPath(), "Fake.so");
}

TEST_F(ModuleTest, FailedEntryOrMissingFactoryLeavesTheModuleCleanly) {
    std::string error;
    {
        FakeModule fake(FakeModule::EntryFails);
        EXPECT_EQ(Module::load(FAKE_MODULE_PATH, error), nullptr);
        EXPECT_NE(error.find("ModuleEntry"), std::string::npos) << error;
        EXPECT_EQ(fake.exits(), 0);
    }
    FakeModule fake(FakeModule::NoFactory);
    EXPECT_EQ(Module::load(FAKE_MODULE_PATH, error), nullptr);
    EXPECT_NE(error.find("no factory"), std::string::npos) << error;
    EXPECT_EQ(fake.exits(), 1);
}

TEST_F(ModuleTest, UnloadingReleasesTheFactoryBeforeModuleExit) {
    FakeModule fake(FakeModule::Working);
    std::string error;
    auto module = Module::load(FAKE_MODULE_PATH, error);
    ASSERT_NE(module, nullptr) << error;
    EXPECT_EQ(fake.factoryReferences(), 1u);
    module.reset();
    EXPECT_EQ(fake.factoryReferences(), 0u);
    EXPECT_EQ(fake.exits(), 1);
}

TEST_F(ModuleTest, AModuleWithoutAnAudioClassGivesNoPlugin) {
    FakeModule fake(FakeModule::Working);
    std::string error;
    auto module = Module::load(FAKE_MODULE_PATH, error);
    ASSERT_NE(module, nullptr) << error;
    EXPECT_EQ(Plugin::create(module, error), nullptr);
    EXPECT_NE(error.find("no audio module class"), std::string::npos) << error;
}

} // namespace
} // namespace serivane::host
