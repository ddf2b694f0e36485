#pragma once

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "public.sdk/source/common/pluginview.h"

class IEffectVST3;

// The editor view a host embeds in its window. It draws nothing itself: attached opens the
// plug-in's editor window inside the host's window, removed closes it; the view also carries
// the plug-in's resize requests to the host's frame. A host's content scale factor sets the
// editor's density; without one the editor stays at its layout's size.
class IEffectVST3View : public Steinberg::CPluginView,
                        public Steinberg::IPlugViewContentScaleSupport {
public:
    explicit IEffectVST3View(IEffectVST3* plug);
    ~IEffectVST3View() override;

    Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) override;
    Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) override;
    Steinberg::tresult PLUGIN_API removed() override;
    Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) override;
    Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) override;
    Steinberg::tresult PLUGIN_API setFrame(Steinberg::IPlugFrame* frame) override;
    // The nearest supported scale (IGraphics::SupportedScale) is taken; an open editor resizes
    // its window, asks the host's frame for the new size and redraws.
    Steinberg::tresult PLUGIN_API setContentScaleFactor(ScaleFactor factor) override;

    OBJ_METHODS(IEffectVST3View, CPluginView)
    DEFINE_INTERFACES
    DEF_INTERFACE(IPlugViewContentScaleSupport)
    END_DEFINE_INTERFACES(CPluginView)
    REFCOUNT_METHODS(CPluginView)

    Steinberg::IPlugFrame* Frame() const { return plugFrame; }
    bool ExpectingResize() const { return expectingResize_; }
    void SetExpectingResize() { expectingResize_ = true; }

private:
    IEffectVST3* plug_;
    bool expectingResize_ = false;
};

// The platform type of the host window the editor embeds in on this system.
extern const char* const kEditorPlatformType;
