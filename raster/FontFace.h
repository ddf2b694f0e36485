#pragma once

#include "raster/Font.h"

#include <mutex>
#include <string>

typedef struct _cairo_font_face cairo_font_face_t;

namespace raster {

// The platform's face for the specification and the family it was found under; null when
// there is none. The caller destroys the face. Called under Font's creation lock.
cairo_font_face_t* CreateFontFace(const FontSpec& spec, std::string& family);

// Held while a font measures or draws where the platform's back end renders glyphs through state
// that every font shares; null where fonts measure and draw on several threads at once.
std::mutex* GlyphRenderingLock();

} // namespace raster
