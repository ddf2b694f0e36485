#include "gui/IEditorWindow.h"
#include "gui/IGraphics.h"
#include "vst3/HostRunLoop.h"
#include "vst3/IEffectVST3.h"
#include "vst3/IEffectVST3View.h"

#include "pluginterfaces/vst/ivstcontextmenu.h"

#include <algorithm>
#include <cstring>

using namespace Steinberg;

IEffectVST3::~IEffectVST3() {
    notificationLoop_.reset();
    editorNotificationLoop_.reset();
    editorWindow_.reset();
}

tresult PLUGIN_API IEffectVST3::terminate() {
    {
        std::lock_guard lock(viewsMutex_);
        views_.clear();
    }
    notificationLoop_.reset();
    editorNotificationLoop_.reset();
    return SingleComponentEffect::terminate();
}

// Only the name "editor" makes a view, compared with case.
IPlugView* PLUGIN_API IEffectVST3::createView(FIDString name) {
    if (!name || std::strcmp(name, Vst::ViewType::kEditor) != 0) return nullptr;
    auto* view = new IEffectVST3View(this);
    AddView(view);
    return view;
}

IGraphics* IEffectVST3::Graphics() const {
    return dynamic_cast<IGraphics*>(Editor());
}

void IEffectVST3::AddView(IEffectVST3View* view) {
    std::lock_guard lock(viewsMutex_);
    views_.push_back(view);
}

void IEffectVST3::RemoveView(IEffectVST3View* view) {
    std::lock_guard lock(viewsMutex_);
    auto found = std::find(views_.begin(), views_.end(), view);
    if (found != views_.end()) views_.erase(found);
}

std::vector<IEffectVST3View*> IEffectVST3::OpenViews() const {
    std::lock_guard lock(viewsMutex_);
    return views_;
}

bool IEffectVST3::OpenEditorWindowFor(IEffectVST3View& view, void* parent) {
    IGraphics* graphics = Graphics();
    if (!graphics || !parent) return false;
    editorWindow_.reset();
    windowOwner_ = nullptr;
    editorWindow_ = OpenEditorWindow(*graphics, parent, HostRunLoopOf(view.Frame()));
    if (!editorWindow_) return false;
    windowOwner_ = &view;
    if (!notificationLoop_)
        editorNotificationLoop_ = NotificationTimerOn(HostRunLoopOf(view.Frame()));
    return true;
}

void IEffectVST3::CloseEditorWindowOf(IEffectVST3View& view) {
    if (windowOwner_ != &view) return;
    editorNotificationLoop_.reset();
    editorWindow_.reset();
    windowOwner_ = nullptr;
}

// An open window may run on a thread of its own (a host without a run loop): it is closed while
// the scale changes and opened again, so that nothing draws into the raster as it is resized.
bool IEffectVST3::ScaleEditorFor(IEffectVST3View& view, double factor, void* parent) {
    IGraphics* graphics = Graphics();
    if (!graphics || (editorWindow_ && windowOwner_ != &view)) return false;
    const bool open = editorWindow_ != nullptr;
    if (open) CloseEditorWindowOf(view);
    const bool changed = graphics->SetScale(factor);
    if (open) OpenEditorWindowFor(view, parent);
    if (changed && view.Frame()) {
        view.SetExpectingResize();
        ViewRect rect(0, 0, graphics->PixelWidth(), graphics->PixelHeight());
        view.Frame()->resizeView(&view, &rect);
    }
    return true;
}

void IEffectVST3::ResizeEditor(int width, int height) {
    if (!Editor()) return;
    IEffectVST3View* view = nullptr;
    {
        std::lock_guard lock(viewsMutex_);
        if (!views_.empty()) view = views_.front();
    }
    if (!view || !view->Frame()) return;
    view->SetExpectingResize();
    ViewRect rect(0, 0, width, height);
    view->Frame()->resizeView(view, &rect);
}

void IEffectVST3::ShowHostParamMenu(int index, int x, int y) {
    if (!componentHandler) return;
    IEffectVST3View* view = nullptr;
    {
        std::lock_guard lock(viewsMutex_);
        if (!views_.empty()) view = views_.front();
    }
    if (!view) return;
    FUnknownPtr<Vst::IComponentHandler3> handler(componentHandler);
    if (!handler) return;
    Vst::ParamID id = static_cast<Vst::ParamID>(index);
    if (Vst::IContextMenu* menu = handler->createContextMenu(view, &id)) {
        menu->popup(x, y);
        menu->release();
    }
}
