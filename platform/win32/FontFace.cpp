#include "raster/FontFace.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <cairo-win32.h>

namespace raster {
namespace {

// The face GDI picks for the description, which may be a substitute for the name asked for.
std::string ChosenFace(const LOGFONTW& description) {
    HFONT font = CreateFontIndirectW(&description);
    HDC dc = CreateCompatibleDC(nullptr);
    std::string chosen;
    if (font && dc) {
        HGDIOBJ previous = SelectObject(dc, font);
        wchar_t name[LF_FACESIZE] = {};
        if (GetTextFaceW(dc, LF_FACESIZE, name) > 0) chosen = Narrowed(name);
        SelectObject(dc, previous);
    }
    if (dc) DeleteDC(dc);
    if (font) DeleteObject(font);
    return chosen;
}

} // namespace

// A GDI font of the system by name, rendered through cairo's Win32 font back end.
cairo_font_face_t* CreateFontFace(const FontSpec& spec, std::string& family) {
    LOGFONTW description{};
    std::wstring face = Widened(spec.face);
    if (face.size() >= LF_FACESIZE) return nullptr;
    face.copy(description.lfFaceName, face.size());
    description.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
    description.lfItalic = spec.italic ? TRUE : FALSE;
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfOutPrecision = OUT_TT_PRECIS;
    description.lfQuality =
        spec.quality == FontQuality::Aliased ? NONANTIALIASED_QUALITY : ANTIALIASED_QUALITY;
    family = ChosenFace(description);
    if (family.empty()) return nullptr;
    cairo_font_face_t* result = cairo_win32_font_face_create_for_logfontw(&description);
    if (cairo_font_face_status(result) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(result);
        return nullptr;
    }
    return result;
}

// cairo's Win32 font back end renders every font's glyphs through one device context.
std::mutex* GlyphRenderingLock() {
    static std::mutex lock;
    return &lock;
}

} // namespace raster
