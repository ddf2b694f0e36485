#include "vst3/IEffectVST3View.h"
#include "gui/IGraphics.h"
#include "vst3/IEffectVST3.h"

#include <cstring>

using namespace Steinberg;

#if SMTG_OS_WINDOWS
const char* const kEditorPlatformType = kPlatformTypeHWND;
#else
const char* const kEditorPlatformType = kPlatformTypeX11EmbedWindowID;
#endif

IEffectVST3View::IEffectVST3View(IEffectVST3* plug) : CPluginView(nullptr), plug_(plug) {
    plug_->addRef();
}

IEffectVST3View::~IEffectVST3View() {
    plug_->CloseEditorWindowOf(*this);
    plug_->RemoveView(this);
    plug_->release();
}

tresult PLUGIN_API IEffectVST3View::isPlatformTypeSupported(FIDString type) {
    if (!plug_->Graphics() || !type) return kResultFalse;
    return std::strcmp(type, kEditorPlatformType) == 0 ? kResultTrue : kResultFalse;
}

// A window that cannot be made (no display, a bad parent, an unusable screen) leaves the editor
// closed, and the host is told so.
tresult PLUGIN_API IEffectVST3View::attached(void* parent, FIDString type) {
    if (!plug_->Graphics()) return kResultFalse;
    if (type && std::strcmp(type, kEditorPlatformType) == 0 &&
        !plug_->OpenEditorWindowFor(*this, parent))
        return kResultFalse;
    plug_->OnEditorOpen();
    CPluginView::attached(parent, type);
    return kResultOk;
}

tresult PLUGIN_API IEffectVST3View::removed() {
    if (plug_->Graphics()) {
        plug_->OnEditorClose();
        plug_->CloseEditorWindowOf(*this);
    }
    CPluginView::removed();
    return kResultOk;
}

tresult PLUGIN_API IEffectVST3View::getSize(ViewRect* size) {
    IGraphics* graphics = plug_->Graphics();
    if (!graphics || !size) return kResultFalse;
    *size = ViewRect(0, 0, graphics->PixelWidth(), graphics->PixelHeight());
    return kResultOk;
}

tresult PLUGIN_API IEffectVST3View::onSize(ViewRect* newSize) {
    if (!newSize) return kResultOk;
    rect = *newSize;
    expectingResize_ = false;
    return kResultOk;
}

tresult PLUGIN_API IEffectVST3View::setFrame(IPlugFrame* frame) {
    plugFrame = frame;
    return kResultOk;
}

tresult PLUGIN_API IEffectVST3View::setContentScaleFactor(ScaleFactor factor) {
    IGraphics* graphics = plug_->Graphics();
    if (!graphics) return kResultFalse;
    return plug_->ScaleEditorFor(*this, factor, systemWindow) ? kResultTrue : kResultFalse;
}
