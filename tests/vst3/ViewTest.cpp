#include "TestPlugin.h"

#include "gui/IGraphics.h"
#include "tests/gui/editor/TestEditor.h"
#include "vst3/IEffectVST3View.h"

#include "pluginterfaces/vst/ivstcontextmenu.h"

#include <gtest/gtest.h>

namespace {

// The test plug-in with the generic editor attached, counting editor openings and closings.
class EditorPlugin : public TestPlugin {
public:
    EditorPlugin() { AttachEditor(MakeTestEditor(*this)); }
    void OnEditorOpen() override { ++opened; }
    void OnEditorClose() override { ++closed; }
    int opened = 0;
    int closed = 0;
};

struct FakeFrame : HostObject<IPlugFrame> {
    tresult PLUGIN_API resizeView(IPlugView* view, ViewRect* rect) override {
        resizedView = view;
        requested = *rect;
        return kResultTrue;
    }
    IPlugView* resizedView = nullptr;
    ViewRect requested;
};

struct FakeMenu : HostObject<IContextMenu> {
    int32 PLUGIN_API getItemCount() override { return 0; }
    tresult PLUGIN_API getItem(int32, Item&, IContextMenuTarget**) override { return kResultFalse; }
    tresult PLUGIN_API addItem(const Item&, IContextMenuTarget*) override { return kResultOk; }
    tresult PLUGIN_API removeItem(const Item&, IContextMenuTarget*) override { return kResultOk; }
    tresult PLUGIN_API popup(UCoord x, UCoord y) override {
        popups.push_back({x, y});
        return kResultOk;
    }
    uint32 PLUGIN_API release() override { return ++released; }
    std::vector<std::pair<UCoord, UCoord>> popups;
    uint32 released = 0;
};

// A component handler that also makes context menus.
struct MenuHandler : FakeHandler, IComponentHandler3 {
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
        if (FUnknownPrivate::iidEqual(iid, IComponentHandler3::iid)) {
            *obj = static_cast<IComponentHandler3*>(this);
            return kResultOk;
        }
        return FakeHandler::queryInterface(iid, obj);
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }
    IContextMenu* PLUGIN_API createContextMenu(IPlugView* view, const ParamID* id) override {
        menuView = view;
        menuParam = id ? *id : 0xFFFFFFFF;
        return &menu;
    }
    FakeMenu menu;
    IPlugView* menuView = nullptr;
    ParamID menuParam = 0;
};

using EditorPluginPtr = IPtr<EditorPlugin>;

EditorPluginPtr MakeEditorPlugin() {
    EditorPluginPtr plugin(new EditorPlugin, false);
    plugin->initialize(nullptr);
    return plugin;
}

IPtr<IPlugView> CreateView(IEditController& controller, const char* name = "editor") {
    return owned(controller.createView(name));
}

TEST(ViewTest, OnlyTheEditorNameMakesAView) {
    EditorPluginPtr plugin = MakeEditorPlugin();
    EXPECT_EQ(CreateView(*plugin, "Editor"), nullptr);
    EXPECT_EQ(CreateView(*plugin, "other"), nullptr);
    EXPECT_EQ(plugin->createView(nullptr), nullptr);
    IPtr<IPlugView> view = CreateView(*plugin);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(plugin->OpenViews().size(), 1u);
    plugin->terminate();
}

TEST(ViewTest, AnswersTheEditorsPlatformTypeAndSize) {
    EditorPluginPtr plugin = MakeEditorPlugin();
    IPtr<IPlugView> view = CreateView(*plugin);
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeHWND), kResultFalse);
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeNSView), kResultFalse);
    ViewRect size;
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.left, 0);
    EXPECT_EQ(size.top, 0);
    EXPECT_EQ(size.right, 600);
    EXPECT_EQ(size.bottom, 475);
    EXPECT_EQ(view->onSize(nullptr), kResultOk);
    EXPECT_EQ(view->onWheel(1.0f), kResultFalse);
    EXPECT_EQ(view->canResize(), kResultFalse);
    plugin->terminate();
}

TEST(ViewTest, WithoutAnEditorTheViewOffersNothing) {
    PluginPtr plugin = MakeInitializedPlugin();
    IPtr<IPlugView> view = CreateView(*plugin);
    ASSERT_NE(view, nullptr);
    ViewRect size;
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultFalse);
    EXPECT_EQ(view->getSize(&size), kResultFalse);
    EXPECT_EQ(view->attached(nullptr, kPlatformTypeX11EmbedWindowID), kResultFalse);
    plugin->terminate();
}

TEST(ViewTest, AttachingToAnotherPlatformOpensNoWindowButTellsThePlugin) {
    EditorPluginPtr plugin = MakeEditorPlugin();
    IPtr<IPlugView> view = CreateView(*plugin);
    int parent = 0;
    EXPECT_EQ(view->attached(&parent, kPlatformTypeNSView), kResultOk);
    EXPECT_EQ(plugin->opened, 1);
    EXPECT_FALSE(plugin->EditorWindowOpen());
    EXPECT_EQ(view->removed(), kResultOk);
    EXPECT_EQ(plugin->closed, 1);
    plugin->terminate();
}

TEST(ViewTest, AttachingWhereNoWindowCanBeMadeFailsAndLeavesTheEditorClosed) {
    EditorPluginPtr plugin = MakeEditorPlugin();
    IPtr<IPlugView> view = CreateView(*plugin);
    EXPECT_EQ(view->attached(nullptr, kEditorPlatformType), kResultFalse);
    EXPECT_EQ(plugin->opened, 0);
    EXPECT_FALSE(plugin->EditorWindowOpen());
    plugin->terminate();
}

TEST(ViewTest, ResizeRequestsGoToTheFirstOpenViewsFrame) {
    EditorPluginPtr plugin = MakeEditorPlugin();
    FakeFrame firstFrame, secondFrame;
    IPtr<IPlugView> first = CreateView(*plugin);
    IPtr<IPlugView> second = CreateView(*plugin);
    first->setFrame(&firstFrame);
    EXPECT_EQ(second->setFrame(&secondFrame), kResultOk);
    ASSERT_EQ(plugin->OpenViews().size(), 2u);

    plugin->ResizeEditor(300, 200);
    EXPECT_EQ(firstFrame.resizedView, first.get());
    EXPECT_EQ(firstFrame.requested.right, 300);
    EXPECT_EQ(firstFrame.requested.bottom, 200);
    auto* firstView = static_cast<IEffectVST3View*>(first.get());
    EXPECT_TRUE(firstView->ExpectingResize());
    ViewRect given(0, 0, 300, 200);
    first->onSize(&given);
    EXPECT_FALSE(firstView->ExpectingResize());

    first = nullptr;
    ASSERT_EQ(plugin->OpenViews().size(), 1u);
    plugin->ResizeEditor(320, 240);
    EXPECT_EQ(secondFrame.resizedView, second.get());
    EXPECT_EQ(secondFrame.requested.right, 320);
    plugin->terminate();
    EXPECT_TRUE(plugin->OpenViews().empty());
}

TEST(ViewTest, TheHostsParameterMenuPopsUpForTheFirstView) {
    EditorPluginPtr plugin = MakeEditorPlugin();
    MenuHandler handler;
    plugin->setComponentHandler(&handler);
    plugin->ShowHostParamMenu(2, 10, 20);
    EXPECT_TRUE(handler.menu.popups.empty()); // no view open yet

    IPtr<IPlugView> view = CreateView(*plugin);
    plugin->ShowHostParamMenu(2, 10, 20);
    EXPECT_EQ(handler.menuView, view.get());
    EXPECT_EQ(handler.menuParam, 2u);
    ASSERT_EQ(handler.menu.popups.size(), 1u);
    EXPECT_EQ(handler.menu.popups[0], (std::pair<UCoord, UCoord>{10, 20}));
    EXPECT_EQ(handler.menu.released, 1u);

    FakeHandler plain;
    plugin->setComponentHandler(&plain);
    plugin->ShowHostParamMenu(2, 10, 20);
    EXPECT_EQ(handler.menu.popups.size(), 1u);
    plugin->terminate();
}

} // namespace
