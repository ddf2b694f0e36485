#include "gui/IControlParts.h"

#include "framework/IEffectBase.h"
#include "gui/IControl.h"
#include "gui/IGraphics.h"
#include "gui/ITextStyle.h"

#include <string>

void IHover::Over(IControl& control) {
    if (hovered_) return;
    hovered_ = true;
    control.MarkDirty(false);
}

void IHover::Out(IControl& control) {
    hovered_ = false;
    control.MarkDirty(false);
}

IBox LabelBand(const IBox& rect, int size) {
    return {rect.left, rect.bottom - size, rect.right, rect.bottom};
}

void DrawValueLabel(IGraphics& graphics, const IControl& control, ITextStyle& style, bool showUnit,
                    const IBox& band) {
    const IParamModel* param = control.Plug().ParamAt(control.ParamIndex());
    if (!param || style.size <= 0) return;
    std::string text = param->FormatValue(param->Value(), false);
    if (text.empty()) return;
    if (showUnit && *param->Label()) text.append(" ").append(param->Label());
    style.align = ITextAlign::Centre;
    graphics.DrawText(style, text.c_str(), band);
}

void ConsumePopupClosedMark(const IControl& control) {
    if (IGraphics* graphics = control.Graphics()) graphics->ClearPopupJustClosed();
}
