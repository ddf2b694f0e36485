#pragma once

#include "resources/artwork/Canvas.h"

#include <memory>
#include <string>
#include <vector>

namespace artwork {

// One drawn picture and the file name it is kept under, relative to the resources folder.
struct Picture {
    std::string file;
    std::unique_ptr<Canvas> canvas;
};

// Every picture of the editor: resources 100 to 109 and the two cursor images, drawn anew.
std::vector<Picture> DrawAllPictures();

// Resources 100 to 109 drawn at 2 or 3 pixels per editor pixel, kept in img@2x/ or img@3x/.
std::vector<Picture> DrawDensePictures(int scale);

// The picture kept under the file name; null when there is none.
const Canvas* FindPicture(const std::vector<Picture>& pictures, const std::string& file);

} // namespace artwork
