#include "tests/gui/editor/TestEditor.h"

#include "framework/IEffectBase.h"
#include "gui/IGraphics.h"
#include "tests/gui/editor/TestControls.h"

#include <algorithm>

namespace {

constexpr int kMargin = 10;
constexpr int kTop = 44;
constexpr int kColumns = 6;
constexpr int kRowHeight = 104;
constexpr int kGap = 8;

IBox Cell(const TestEditorLayout& layout, int index) {
    const int cellWidth = (layout.width - 2 * kMargin) / kColumns;
    const int column = index % kColumns;
    const int row = index / kColumns;
    const int left = kMargin + column * cellWidth;
    const int top = kTop + row * kRowHeight;
    return {left, top, left + cellWidth - kGap, top + kRowHeight - kGap};
}

std::unique_ptr<IControl> ControlFor(IEffectBase& plug, int paramIndex, const IBox& rect) {
    const IParamType type = plug.ParamAt(paramIndex)->Type();
    if (type == IParamType::Enum || type == IParamType::Bool)
        return std::make_unique<TestSwitch>(plug, rect, paramIndex);
    if (paramIndex % 2 == 0) return std::make_unique<TestFader>(plug, rect, paramIndex);
    return std::make_unique<TestKnob>(plug, rect, paramIndex);
}

} // namespace

std::unique_ptr<IGraphics> MakeTestEditor(IEffectBase& plug, const TestEditorLayout& layout) {
    auto graphics = std::make_unique<IGraphics>(plug, layout.width, layout.height);
    if (layout.backgroundResource != 0)
        graphics->AddBackground(layout.backgroundResource, "background");
    else
        graphics->AddControl(
            std::make_unique<TestBackground>(plug, IBox{0, 0, layout.width, layout.height}));
    graphics->AddControl(std::make_unique<TestTextField>(plug, TextFieldRect(layout), "Serivane"));
    const int count = std::min(plug.ParamCount(), layout.maxControls);
    for (int i = 0; i < count; ++i) {
        const IBox cell = Cell(layout, i);
        if (cell.bottom > layout.height) break;
        graphics->AddControl(ControlFor(plug, i, cell));
    }
    graphics->SetHandleMouseOver(true);
    return graphics;
}

IBox ControlRectForParam(const IGraphics& graphics, int paramIndex) {
    for (int i = 0; i < graphics.ControlCount(); ++i) {
        const IControl* control = graphics.ControlAtIndex(i);
        if (control->ParamIndex() == paramIndex) return control->Rect();
    }
    return {};
}

IBox TextFieldRect(const TestEditorLayout& layout) {
    return {kMargin, 10, std::min(layout.width - kMargin, kMargin + 300), 34};
}
