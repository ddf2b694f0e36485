// Draws the editor's pictures into a resources folder, at 1x, 2x and 3x, and on request a preview
// of the editor or a sheet of its knobs composed from them.
#include "resources/artwork/Artwork.h"
#include "resources/artwork/EditorLayout.h"
#include "resources/artwork/Preview.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

enum class Extra { None, Preview, Knobs };

bool WritePictures(const std::vector<artwork::Picture>& pictures,
                   const std::filesystem::path& folder) {
    for (const artwork::Picture& picture : pictures) {
        const std::filesystem::path file = folder / picture.file;
        std::error_code error;
        std::filesystem::create_directories(file.parent_path(), error);
        if (!picture.canvas->WritePng(file.string())) {
            std::fprintf(stderr, "cannot write %s\n", file.c_str());
            return false;
        }
    }
    return true;
}

bool WriteExtra(const std::vector<artwork::Picture>& pictures, Extra extra, const char* file) {
    const bool preview = extra == Extra::Preview;
    artwork::Canvas sheet(preview ? artwork::layout::kWidth : artwork::kKnobSheetWidth,
                          preview ? artwork::layout::kHeight : artwork::kKnobSheetHeight);
    if (preview) {
        artwork::DrawPreview(sheet, pictures);
    } else {
        artwork::DrawKnobSheet(sheet, pictures);
    }
    if (sheet.WritePng(file)) return true;
    std::fprintf(stderr, "cannot write %s\n", file);
    return false;
}

bool Run(const char* folder, Extra extra, const char* extraFile) {
    const std::vector<artwork::Picture> pictures = artwork::DrawAllPictures();
    if (!WritePictures(pictures, folder)) return false;
    for (const int scale : {2, 3}) {
        if (!WritePictures(artwork::DrawDensePictures(scale), folder)) return false;
    }
    return extra == Extra::None || WriteExtra(pictures, extra, extraFile);
}

} // namespace

int main(int argc, char** argv) {
    Extra extra = Extra::None;
    if (argc == 4 && std::strcmp(argv[2], "--preview") == 0) extra = Extra::Preview;
    if (argc == 4 && std::strcmp(argv[2], "--knobs") == 0) extra = Extra::Knobs;
    if (argc != 2 && extra == Extra::None) {
        std::fprintf(stderr, "usage: %s RESOURCE_DIR [--preview FILE.png | --knobs FILE.png]\n",
                     argv[0]);
        return 2;
    }
    const bool written = Run(argv[1], extra, argc == 4 ? argv[3] : nullptr);
    // Let go of the fonts cairo and fontconfig keep for the process.
    cairo_debug_reset_static_data();
    FcFini();
    return written ? 0 : 1;
}
