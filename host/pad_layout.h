#pragma once

#include "runtime/kp_array.h"

// Turns one reading of a pad (up to 6 axes, up to 32 buttons) into the
// framework's two sticks with triggers and its button numbering.
void MapPadReading(const float* axes, int axisCount, const unsigned char* pressed, int buttonCount, Array<float> x,
                   Array<float> y, Array<float> z, Array<bool> buttons);
