#pragma once

#include "gui/GuiTypes.h"

#include <memory>

class IEffectBase;
class IGraphics;

// A small editor built on the framework for tests, benchmarks and the window layer: a drawn
// background, a free text field along the top, and one generic control per parameter (a
// switch for enumerated and boolean parameters, a fader or a knob for numbers) in a grid.
struct TestEditorLayout {
    int width = 600;
    int height = 475;
    int maxControls = 20;
    // A bitmap resource for the background instead of the drawn gradient; 0 = drawn.
    int backgroundResource = 0;
};

std::unique_ptr<IGraphics> MakeTestEditor(IEffectBase& plug, const TestEditorLayout& layout = {});

// The rectangle of the first control bound to paramIndex; empty when there is none.
IBox ControlRectForParam(const IGraphics& graphics, int paramIndex);
// The rectangle of the free text field.
IBox TextFieldRect(const TestEditorLayout& layout = {});
