#pragma once

#include "gui/GuiTypes.h"

#include <memory>
#include <string>

class CLS_SERIVANE;
class IGraphics;
class ITextControl;

// The instrument's editor: 600 x 475 pixels of artwork with its controls at fixed places.
struct SerivaneEditor {
    static constexpr int kWidth = 600;
    static constexpr int kHeight = 475;
    // Both graphs: repainted on every tick, since their tone dots move.
    static constexpr IBox kGraphsBox{13, 294, 589, 442};
    // The vendor's web site; the hot spot over the title opens the instrument's page there.
    static constexpr const char* kSite = "www.tolvane.com";

    std::unique_ptr<IGraphics> graphics;
    // The controls the instrument writes into.
    ITextControl* statusLine = nullptr;
    ITextControl* bandLabel = nullptr;
    ITextControl* beatLabel = nullptr;
    int wavePicture = -1;
};

// Builds the editor of the instrument: the background and the 23 controls, in drawing order.
SerivaneEditor BuildSerivaneEditor(CLS_SERIVANE& instrument);

// The version label: "v1.0 i" for version 1.0.0; without the " i" when the instrument mixes
// its tones into two audio inputs.
std::string EditorVersionText(const CLS_SERIVANE& instrument);
