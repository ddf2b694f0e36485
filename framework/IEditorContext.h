#pragma once

// What the plug-in base needs of its editor's graphics context; the GUI implements it.
class IEditorContext {
public:
    virtual ~IEditorContext() = default;

    // Pushes a parameter's value (normalised or real) to every control bound to it.
    virtual void ShowParamInControls(int index, double value, bool normalized) = 0;
    virtual void PrepareDraw() = 0;
    virtual int FrameRate() const = 0;
    // Counts editor timer ticks down to the end of a deferred parameter gesture.
    virtual void StartGestureCountdown(int ticks) = 0;
    virtual void StopGestureCountdown() = 0;
};
