#pragma once

#include "pluginterfaces/base/ipluginbase.h"

// Makes the instrument's class factory, holding one reference for the caller.
Steinberg::IPluginFactory* CreateSerivaneFactory();
