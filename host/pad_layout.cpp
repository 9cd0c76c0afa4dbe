#include "host/pad_layout.h"

#include "host/glfw2.h"

namespace {

// How a pad's readings become the framework's sticks, triggers and buttons.
struct PadLayout {
    int axisCodes[6];
    int buttons[14];
};

// Pads with exactly 14 buttons and 5 axes; every other pad uses layout B.
constexpr PadLayout kLayoutA = {{0, 1, 2, 4, 67, 66}, {0, 1, 2, 3, 4, 5, 6, 7, -4, -3, -2, -1, 8, 9}};
constexpr PadLayout kLayoutB = {{0, 1, 134, 2, 67, 135}, {1, 2, 0, 3, 4, 5, 8, 9, -4, -3, -2, -1, 10, 11}};

// A code's high part picks the rule, its low four bits the source.
float AxisValue(int code, const float* axes, const unsigned char* buttons) {
    int source = code & 15;
    if (code & 128) return buttons[source] == glfw2::PRESS ? 1.0f : 0.0f;
    if (code & 64) return -axes[source];
    return axes[source];
}

}  // namespace

void MapPadReading(const float* axes, int axisCount, const unsigned char* pressed, int buttonCount, Array<float> x,
                   Array<float> y, Array<float> z, Array<bool> buttons) {
    const PadLayout& layout = (buttonCount == 14 && axisCount == 5) ? kLayoutA : kLayoutB;
    float values[6];
    for (int i = 0; i < 6; ++i) values[i] = AxisValue(layout.axisCodes[i], axes, pressed);
    x[0] = values[0];
    y[0] = values[1];
    z[0] = values[2];
    x[1] = values[3];
    y[1] = values[4];
    z[1] = values[5];

    for (int k = 0; k < 32; ++k) buttons[k] = false;
    for (int k = 0; k < 14; ++k) {
        int source = layout.buttons[k];
        if (source < 0) source += buttonCount;
        // An entry counted from the end of a pad with few buttons reads as released.
        buttons[k] = source >= 0 && pressed[source] == glfw2::PRESS;
    }
}
