#include "raster/FontFace.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <strings.h>

namespace raster {
namespace {

// Faces named by Windows programs, and the free faces with the same metrics.
const char* FamilyFor(const std::string& face) {
    struct Alias {
        const char* name;
        const char* family;
    };
    static constexpr Alias kAliases[] = {{"Arial", "Liberation Sans"}, {"Verdana", "DejaVu Sans"}};
    for (const Alias& alias : kAliases) {
        if (strcasecmp(face.c_str(), alias.name) == 0) return alias.family;
    }
    return face.c_str();
}

// The installed face that best fits the specification, or null when there is none.
FcPattern* MatchFace(const FontSpec& spec) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return nullptr;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(FamilyFor(spec.face)));
    FcPatternAddInteger(pattern, FC_WEIGHT, spec.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, spec.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    FcChar8* file = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) {
        FcPatternDestroy(match);
        return nullptr;
    }
    if (!match) return nullptr;
    // Rendering follows this font's own options, not the desktop's.
    for (const char* object :
         {FC_ANTIALIAS, FC_RGBA, FC_HINTING, FC_HINT_STYLE, FC_AUTOHINT, FC_LCD_FILTER}) {
        FcPatternDel(match, object);
    }
    return match;
}

} // namespace

// A face of the installed fonts through fontconfig, rendered by FreeType.
cairo_font_face_t* CreateFontFace(const FontSpec& spec, std::string& family) {
    FcPattern* match = MatchFace(spec);
    if (!match) return nullptr;
    FcChar8* name = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch)
        family = reinterpret_cast<const char*>(name);
    cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(match);
    FcPatternDestroy(match);
    if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(face);
        return nullptr;
    }
    return face;
}

// FreeType faces keep their own locks.
std::mutex* GlyphRenderingLock() {
    return nullptr;
}

} // namespace raster
