#pragma once

// Name of the brainwave band of a binaural frequency; each bound belongs to the higher band.
const char* BandName(float hz);
