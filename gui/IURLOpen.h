#pragma once

#include "gui/IControl.h"

#include <string>

// An invisible hot spot: any press opens the plug-in's page on its maker's web site,
// https://<site>/<effect name>, in the desktop's browser.
class IURLOpen : public IControl {
public:
    // site is a host name such as "www.example.com".
    IURLOpen(IEffectBase& plug, const IBox& rect, std::string site);

    void MouseDown(int x, int y, const IMouseState& mods) override;
    bool Draw(IGraphics&) override { return true; }

    // The address a press opens.
    std::string Address() const;

private:
    std::string site_;
};
