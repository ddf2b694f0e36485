#include "framework/IEffectBase.h"

#include <cstdio>
#include <cstring>

// Preset slots and the state encoding: one little-endian double per parameter, in index order.

bool IEffectBase::WriteState(IStateChunk& chunk) {
    return WriteParams(chunk);
}

int IEffectBase::ReadState(const IStateChunk& chunk, int pos) {
    return ReadParams(chunk, pos);
}

bool IEffectBase::WriteParams(IStateChunk& chunk) {
    std::lock_guard lock(mutex_);
    for (int i = 0; i < paramCount_; ++i)
        if (!chunk.PutDouble(params_[static_cast<size_t>(i)].Value())) return false;
    return true;
}

// A chunk that ends early applies the values it holds and leaves the rest of the parameters as
// they are, so an empty or truncated state never knocks a parameter to its minimum.
int IEffectBase::ReadParams(const IStateChunk& chunk, int pos, bool presetRecall) {
    std::lock_guard lock(mutex_);
    for (int i = 0; i < paramCount_ && pos >= 0; ++i) {
        double value = 0.0;
        if (!chunk.GetDouble(pos, &value)) return -1;
        pos += static_cast<int>(sizeof(double));
        if (presetRecall && !AcceptStoredParam(i, currentPreset_)) continue;
        params_[static_cast<size_t>(i)].SetClamped(value);
        OnParamChanged(i);
    }
    return pos;
}

const IPresetEntry* IEffectBase::PresetAt(int index) const {
    return index >= 0 && index < PresetCount() ? &presets_[static_cast<size_t>(index)] : nullptr;
}

const char* IEffectBase::PresetName(int index) const {
    const IPresetEntry* preset = PresetAt(index);
    return preset ? preset->name.c_str() : "";
}

void IEffectBase::NameFreePresets(const char* name, int count) {
    for (int n = 0; n < count; ++n) {
        for (IPresetEntry& preset : presets_) {
            if (preset.initialised) continue;
            preset.initialised = true;
            preset.name =
                std::string(name ? name : "Default").substr(0, IPresetEntry::kNameCapacity);
            break;
        }
    }
}

bool IEffectBase::AddPreset(const char* name, std::span<const double> values) {
    if (static_cast<int>(values.size()) != paramCount_) return false;
    for (IPresetEntry& preset : presets_) {
        if (preset.initialised) continue;
        preset.initialised = true;
        preset.name = std::string(name ? name : "").substr(0, IPresetEntry::kNameCapacity);
        auto value = values.begin();
        for (int i = 0; i < paramCount_; ++i, ++value) {
            const bool integral = params_[static_cast<size_t>(i)].Type() != IParamType::Double;
            preset.chunk.PutDouble(integral ? static_cast<double>(static_cast<int32_t>(*value))
                                            : *value);
        }
        return true;
    }
    return false;
}

bool IEffectBase::LoadPreset(int index) {
    std::lock_guard lock(mutex_);
    if (index < 0 || index >= PresetCount()) return false;
    IPresetEntry& preset = presets_[static_cast<size_t>(index)];
    const bool renamed = !preset.initialised;
    bool complete = true;
    if (renamed) {
        preset.initialised = true;
        preset.name = NextUserPresetName();
    } else {
        currentPreset_ = index;
        complete = ReadParams(preset.chunk, 0, true) > 0;
    }
    currentPreset_ = index;
    OnPresetLoaded(index, renamed);
    if (!complete) return false;
    RefreshEditorControls();
    return true;
}

std::string IEffectBase::NextUserPresetName() const {
    int count = 0;
    for (const IPresetEntry& preset : presets_)
        if (preset.name.find("user preset") != std::string::npos) ++count;
    char name[64];
    std::snprintf(name, sizeof name, "%s %d", "user preset", count + 1);
    return name;
}
