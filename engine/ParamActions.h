#pragma once

#include "engine/ParamIds.h"

#include <array>
#include <cstdint>

// The parameter value scaled (x100 "Binaural", x10 "Low Freq", "High Freq", "Rate" and
// "Xvol1" to "Xvol3", x1 otherwise) and rounded half away from zero; saturates, NaN gives 0.
int32_t ParamKey(int index, double value);

// The key each parameter was last acted on, so that repeated values are ignored.
class ParamKeyFilter {
public:
    // True, and the key stored, when it differs from the last one; false for unknown indices.
    bool Changed(int index, int32_t key);
    // Makes the next key of this parameter count as a change.
    void Forget(int index);

private:
    // Every byte 0x9B: a key no parameter value produces.
    static constexpr int32_t kNoKey = static_cast<int32_t>(0x9B9B9B9Bu);
    std::array<int32_t, kNumParams> lastKeys = MakeUnset();

    static constexpr std::array<int32_t, kNumParams> MakeUnset() {
        std::array<int32_t, kNumParams> keys{};
        keys.fill(kNoKey);
        return keys;
    }
};
