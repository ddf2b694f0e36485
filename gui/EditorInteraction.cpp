#include "gui/EditorInteraction.h"

#include "gui/IGraphics.h"

bool EditorInteraction::PointerAt(int x, int y) {
    bool moved = x != pointerX_ || y != pointerY_;
    pointerX_ = x;
    pointerY_ = y;
    return moved;
}

void EditorInteraction::Press(int x, int y, const IMouseState& state) {
    PointerAt(x, y);
    held_ = true;
    graphics_.DispatchMouseDown(x, y, state);
}

bool EditorInteraction::DoubleClick(int x, int y, const IMouseState& state) {
    PointerAt(x, y);
    if (!graphics_.DispatchDoubleClick(x, y, state)) return false;
    held_ = true;
    return true;
}

void EditorInteraction::EndDrag() {
    if (!held_) return;
    held_ = false;
    graphics_.DispatchMouseUp(pointerX_, pointerY_, IMouseState{});
}

void EditorInteraction::OpenEntry(IControl& control, const IParamModel* param, EditState state) {
    entryControl_ = &control;
    entryParam_ = param;
    entryState_ = state;
}

void EditorInteraction::CloseEntry() {
    entryControl_ = nullptr;
    entryParam_ = nullptr;
    entryState_ = EditState::None;
}

void EditorInteraction::CommitEntry() {
    if (entryControl_) entryState_ = EditState::Commit;
}

IControl* EditorInteraction::StepEntry(const std::function<std::string()>& boxText) {
    if (!entryControl_ || entryState_ == EditState::None) return nullptr;
    if (entryState_ != EditState::Commit && entryState_ != EditState::Cancel) {
        entryState_ = EditState::None;
        return nullptr;
    }
    IControl* control = entryControl_;
    if (entryState_ == EditState::Commit)
        graphics_.ApplyTextEntry(control, entryParam_, boxText().c_str());
    return control;
}

bool EditorInteraction::HoverOver(int index) {
    if (index == hoverIndex_) return false;
    hoverIndex_ = index;
    return true;
}

IControl* EditorInteraction::HoverControl() const {
    return graphics_.ControlAtIndex(hoverIndex_);
}

bool EditorInteraction::HideTooltip() {
    if (!tooltipShowing_) return false;
    tooltipShowing_ = false;
    return true;
}
