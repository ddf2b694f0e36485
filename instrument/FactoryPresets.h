#pragma once

class IEffectBase;

// Fills the preset slots: the empty default, the partial programme presets and the frequency
// library, in slot order.
void AddFactoryPresets(IEffectBase& plugin);

// Whether recalling a preset slot applies the parameter: the programme presets only set the
// parameters they are about and leave the others as they are.
bool PresetOwnsParam(int presetSlot, int paramIndex);
