#include "BundleSession.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <gtest/gtest.h>

namespace serivane::integration {
namespace {

using namespace Steinberg;

TEST(WindowsView, TheEditorEmbedsInAWin32WindowOnly) {
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);
    IPtr<IPlugView> view = owned(plugin->controller()->createView(Vst::ViewType::kEditor));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeHWND), kResultTrue);
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultFalse);
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeNSView), kResultFalse);
    ViewRect size;
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.getWidth(), 600);
    EXPECT_EQ(size.getHeight(), 475);
    FUnknownPtr<IPlugViewContentScaleSupport> scaling(view);
    ASSERT_TRUE(scaling);
    ASSERT_EQ(scaling->setContentScaleFactor(2.0f), kResultTrue);
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.getWidth(), 1200);
    EXPECT_EQ(size.getHeight(), 950);
}

} // namespace
} // namespace serivane::integration
