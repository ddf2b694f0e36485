#include "BundleSession.h"

#include <gtest/gtest.h>

namespace serivane::integration {

using namespace Steinberg;

std::shared_ptr<host::Module> bundle() {
    static std::string error;
    static std::shared_ptr<host::Module> module = host::Module::load(SERIVANE_BUNDLE_PATH, error);
    EXPECT_NE(module, nullptr) << error;
    return module;
}

std::unique_ptr<host::Plugin> instantiate() {
    std::string error;
    std::shared_ptr<host::Module> module = bundle();
    std::unique_ptr<host::Plugin> plugin = module ? host::Plugin::create(module, error) : nullptr;
    EXPECT_NE(plugin, nullptr) << error;
    return plugin;
}

tools::ParameterSetting setting(const host::Plugin& plugin, const std::string& name,
                                const std::string& value) {
    tools::ParameterSetting result;
    std::string error;
    EXPECT_TRUE(tools::resolveSetting(plugin, name, value, result, error)) << error;
    return result;
}

Vst::ParamID idOf(const host::Plugin& plugin, const std::string& title) {
    for (const host::ParameterDescription& p : plugin.parameters()) {
        if (p.title == title) return p.id;
    }
    ADD_FAILURE() << "no parameter " << title;
    return 0;
}

double plainValue(const host::Plugin& plugin, const std::string& title) {
    Vst::ParamID id = idOf(plugin, title);
    return plugin.toPlain(id, plugin.normalizedValue(id));
}

template <typename Sample>
void renderInto(host::ProcessDriver& driver, const RenderRequest& request, Stereo& out) {
    auto frames = static_cast<std::size_t>(request.seconds * request.sampleRate);
    std::vector<Sample> left(frames), right(frames);
    Sample* channels[] = {left.data(), right.data()};
    ASSERT_TRUE(driver.render(channels, static_cast<int64>(frames)));
    out.left.assign(left.begin(), left.end());
    out.right.assign(right.begin(), right.end());
}

Stereo render(host::Plugin& plugin, const RenderRequest& request) {
    host::ProcessDriver driver(plugin, {request.sampleRate, request.block,
                                        request.doublePrecision ? Vst::kSample64 : Vst::kSample32,
                                        Vst::kOffline});
    Stereo out;
    std::string error;
    EXPECT_EQ(driver.outputChannelCount(), 2);
    if (!driver.start(error)) {
        ADD_FAILURE() << error;
        return out;
    }
    driver.transport().setPlaying(request.playing);
    for (const tools::ParameterSetting& s : request.settings)
        driver.parameterChanges().add(s.id, s.normalized);
    if (request.doublePrecision)
        renderInto<double>(driver, request, out);
    else
        renderInto<float>(driver, request, out);
    return out;
}

void apply(host::Plugin& plugin, const std::vector<tools::ParameterSetting>& settings) {
    host::ProcessDriver driver(plugin, {});
    std::string error;
    ASSERT_TRUE(driver.start(error)) << error;
    for (const tools::ParameterSetting& s : settings)
        driver.parameterChanges().add(s.id, s.normalized);
    ASSERT_TRUE(driver.flush());
}

} // namespace serivane::integration
