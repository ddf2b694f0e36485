#include "gui/IFontCache.h"

IFontCache& IFontCache::Instance() {
    static IFontCache cache;
    return cache;
}

raster::Font* IFontCache::Find(const ITextStyle& style) const {
    std::lock_guard guard(lock_);
    return FindLocked(style);
}

raster::Font* IFontCache::Add(std::unique_ptr<raster::Font> font, const ITextStyle& style) {
    std::lock_guard guard(lock_);
    if (raster::Font* cached = FindLocked(style)) return cached;
    if (!font) return nullptr;
    entries_.push_back({style.size, style.orientation, style.style, style.face, std::move(font)});
    return entries_.back().font.get();
}

raster::Font* IFontCache::FontFor(ITextStyle& style) {
    raster::Font* font = Find(style);
    if (!font) font = Add(CreateFontForStyle(style), style);
    if (font) style.font = font;
    return font;
}

raster::Font* IFontCache::FindLocked(const ITextStyle& style) const {
    for (const Entry& entry : entries_) {
        if (entry.size == style.size && entry.orientation == style.orientation &&
            entry.style == style.style && entry.face == style.face) {
            return entry.font.get();
        }
    }
    return nullptr;
}

std::unique_ptr<raster::Font> CreateFontForStyle(const ITextStyle& style) {
    raster::FontSpec spec;
    spec.face = style.face;
    spec.height = style.size;
    spec.bold = (style.style & kTextBold) != 0;
    spec.italic = (style.style & kTextItalic) != 0;
    spec.orientation = style.orientation;
    switch (style.quality) {
    case ITextQuality::Default:
        spec.quality = raster::FontQuality::Default;
        break;
    case ITextQuality::Antialiased:
        spec.quality = raster::FontQuality::Antialiased;
        break;
    case ITextQuality::ClearType:
        spec.quality = raster::FontQuality::ClearType;
        break;
    default:
        spec.quality = raster::FontQuality::Aliased;
        break;
    }
    return raster::Font::Create(spec);
}
