#include "tests/gui/GuiFakes.h"

namespace {

IEffectConfig Config() {
    IEffectConfig config;
    config.paramCount = 5;
    config.effectName = "GuiTest";
    config.interfaceKind = 1;
    return config;
}

} // namespace

GuiTestEffect::GuiTestEffect() : IEffectBase(Config()) {
    ParamAt(0)->DefineDouble("Level", 5.0, 0.0, 10.0, 0.01, "");
    ParamAt(1)->DefineInt("Count", 20, 0, 100, "");
    IParamModel* mode = ParamAt(2);
    mode->DefineEnum("Mode", 1, 4, "");
    for (const char* text : {"Sine", "Square", "Saw", "Noise"})
        mode->AddDisplayText(mode->DisplayTextCount(), text);
    ParamAt(3)->DefineEnum("Bank", 0, 3, "");
    ParamAt(4)->DefineDouble("Cut", 10.0, 0.0, 60.0, 0.1, "dB");
    ParamAt(4)->SetNegateDisplay(true);
}
