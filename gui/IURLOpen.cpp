#include "gui/IURLOpen.h"

#include "framework/IEffectBase.h"
#include "gui/IControlParts.h"
#include "gui/IGraphics.h"
#include "gui/IPlatformWindow.h"

namespace {

constexpr const char* kOpenFailed = "Cannot open url. Check your default browser.";

bool Unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

// The name as one path segment of an address: everything but unreserved characters escaped.
std::string PathSegment(const char* name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string segment;
    for (const char* p = name; *p; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (Unreserved(c)) {
            segment += static_cast<char>(c);
        } else {
            segment += '%';
            segment += kHex[c >> 4];
            segment += kHex[c & 0xF];
        }
    }
    return segment;
}

} // namespace

IURLOpen::IURLOpen(IEffectBase& plug, const IBox& rect, std::string site)
    : IControl(plug, rect), site_(std::move(site)) {}

std::string IURLOpen::Address() const {
    return std::string("https://")
        .append(site_)
        .append("/")
        .append(PathSegment(Plug().EffectName()));
}

void IURLOpen::MouseDown(int, int, const IMouseState&) {
    ConsumePopupClosedMark(*this);
    IPlatformWindow* window = Graphics() ? Graphics()->Window() : nullptr;
    if (!window) return;
    const std::string address = Address();
    window->OpenUrl(address.c_str(), nullptr, nullptr, kOpenFailed);
}
