// Draws the editor's pictures into a resources folder, and on request a preview of the editor
// composed from them.
#include "resources/artwork/Artwork.h"
#include "resources/artwork/EditorLayout.h"
#include "resources/artwork/Preview.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    const bool preview = argc == 4 && std::strcmp(argv[2], "--preview") == 0;
    const bool knobs = argc == 4 && std::strcmp(argv[2], "--knobs") == 0;
    if (argc != 2 && !preview && !knobs) {
        std::fprintf(stderr, "usage: %s RESOURCE_DIR [--preview FILE.png | --knobs FILE.png]\n",
                     argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::vector<artwork::Picture> pictures = artwork::DrawAllPictures();
    for (const artwork::Picture& picture : pictures) {
        const std::filesystem::path file = folder / picture.file;
        std::error_code error;
        std::filesystem::create_directories(file.parent_path(), error);
        if (!picture.canvas->WritePng(file.string())) {
            std::fprintf(stderr, "cannot write %s\n", file.c_str());
            return 1;
        }
    }
    if (argc == 4) {
        artwork::Canvas sheet(preview ? artwork::layout::kWidth : artwork::kKnobSheetWidth,
                              preview ? artwork::layout::kHeight : artwork::kKnobSheetHeight);
        if (preview) {
            artwork::DrawPreview(sheet, pictures);
        } else {
            artwork::DrawKnobSheet(sheet, pictures);
        }
        if (!sheet.WritePng(argv[3])) {
            std::fprintf(stderr, "cannot write %s\n", argv[3]);
            return 1;
        }
    }
    return 0;
}
