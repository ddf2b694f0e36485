#pragma once

#include "framework/IEffectBase.h"
#include "gui/IControl.h"
#include "gui/IGraphics.h"
#include "gui/IPlatformWindow.h"
#include "gui/IPopupList.h"

#include <string>
#include <vector>

// "b3", "drag 2,4": journal entries, built by appending (GCC 12 misreports the shorter
// literal + string forms as overlapping copies).
inline std::string Entry(const char* head, int value) {
    std::string entry(head);
    entry.append(std::to_string(value));
    return entry;
}

// A plug-in base that records what reaches the host. Parameters: 0 double 0..10, 1 integer
// 0..100, 2 enumerated with four display texts, 3 enumerated without texts, 4 double shown
// negated (-60..0 dB as 0..60).
class GuiTestEffect : public IEffectBase {
public:
    GuiTestEffect();

    void BeginParamEdit(int index) override { edits.push_back(Entry("b", index)); }
    void PerformParamEdit(int index, double) override { edits.push_back(Entry("p", index)); }
    void EndParamEdit(int index) override { edits.push_back(Entry("e", index)); }
    int32_t HostSamplePosition() override { return 0; }
    double HostTempo() override { return 120.0; }
    void HostTimeSignature(int* numerator, int* denominator) override {
        *numerator = 4;
        *denominator = 4;
    }
    void ResizeEditor(int width, int height) override {
        resized.push_back(Entry("", width).append(Entry("x", height)));
    }
    bool SendMidiMessage(const IMidiMessage&) override { return false; }
    void OnStatusText(int index) override { statusTexts.push_back(index); }

    std::vector<std::string> edits;
    std::vector<int> statusTexts;
    std::vector<std::string> resized;
};

// Records what the graphics context asks of its window.
class FakeWindow : public IPlatformWindow {
public:
    bool PresentToWindow(const IBox& rect) override {
        presented.push_back(rect);
        return true;
    }
    void PromptParamInput(IControl& control, const IParamModel&, bool centred) override {
        prompted = &control;
        promptCentred = centred;
    }
    void PromptTextInput(IControl& control, ITextEntryTarget&) override { prompted = &control; }
    bool OpenUrl(const char*, const char*, const char*, const char*) override { return false; }
    void SetCursor(ICursor) override {}
    void SetResourceCursor(int) override {}
    void ResizeWindow(int width, int height) override { size = {0, 0, width, height}; }

    std::vector<IBox> presented;
    IControl* prompted = nullptr;
    bool promptCentred = false;
    IBox size;
};

// A control that logs every call it receives into a shared journal.
class ProbeControl : public IControl {
public:
    ProbeControl(IEffectBase& plug, const IBox& rect, int paramIndex, std::string name,
                 std::vector<std::string>& journal)
        : IControl(plug, rect, paramIndex), name_(std::move(name)), journal_(journal) {}

    void MouseDown(int x, int y, const IMouseState& mods) override {
        Log("down");
        IControl::MouseDown(x, y, mods);
    }
    void MouseUp(int, int, const IMouseState&) override { Log("up"); }
    void FileDrop(int, int, const char* path) override { Log(std::string("drop ").append(path)); }
    void MouseDrag(int, int, int dx, int dy, const IMouseState&) override {
        Log(Entry("drag ", dx).append(Entry(",", dy)));
    }
    void MouseDoubleClick(int x, int y, const IMouseState& mods) override {
        Log("double");
        IControl::MouseDoubleClick(x, y, mods);
    }
    void MouseWheel(int x, int y, const IMouseState& mods, int steps) override {
        Log(Entry("wheel ", steps));
        IControl::MouseWheel(x, y, mods, steps);
    }
    bool KeyDown(int, int, IKeyCode key) override {
        Log(Entry("key ", key));
        return true;
    }
    void MouseOver(int, int, const IMouseState&) override { Log("over"); }
    void MouseOut() override { Log("out"); }
    void PopupResult(const char* text, int index) override {
        Log(std::string("popup '").append(text).append(Entry("' ", index)));
    }
    bool Draw(IGraphics&) override {
        Log("draw");
        return true;
    }

private:
    void Log(const std::string& what) {
        journal_.push_back(std::string(name_).append(" ").append(what));
    }

    std::string name_;
    std::vector<std::string>& journal_;
};

// A popup list that only keeps its items, sized 80 wide and 21 per item.
class FakePopupList : public IPopupList {
public:
    FakePopupList(IEffectBase& plug, int x, int y) : IPopupList(plug, {x, y, x + 80, y + 30}) {}

    void AddItem(const char* text) override {
        items.emplace_back(text);
        const IBox& r = Rect();
        const IBox grown{r.left, r.top, r.right, r.top + 21 * static_cast<int>(items.size())};
        SetRect(grown);
        SetTargetRect(grown);
    }
    void OpenFor(int paramIndex, IControl* owner) override {
        openedFor = paramIndex;
        SetOwner(owner);
        SetHidden(false);
    }
    bool Draw(IGraphics&) override { return true; }

    std::vector<std::string> items;
    int openedFor = -1;
};
