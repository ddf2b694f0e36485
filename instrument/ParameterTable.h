#pragma once

class IEffectBase;

// Defines the instrument's 22 parameters on a freshly constructed plug-in base.
void DefineSerivaneParameters(IEffectBase& plugin);
