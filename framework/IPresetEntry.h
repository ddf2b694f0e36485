#pragma once

#include "framework/IStateChunk.h"

#include <string>

// One preset slot: whether it was filled, its name and its encoded parameter values.
struct IPresetEntry {
    static constexpr size_t kNameCapacity = 255;

    bool initialised = false;
    std::string name;
    IStateChunk chunk;
};
