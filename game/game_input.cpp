#include <cmath>
#include <cstdlib>
#include <initializer_list>

#include "framework/input/input.h"
#include "game/my_app.h"

namespace {

// Where one logical key is read from; lists end at the first 0 (or -1 for
// virtual buttons, since 0 is the up button).
struct LogicalKey {
    int key;
    int keyboard[5];
    int keyboardICade[4];
    int padButtons[4];
    int virtualButtons[4];
};

constexpr int kNoButton = -1;

constexpr LogicalKey kKeys[] = {
    {0, {38, 87}, {38}, {9, kNoButton}, {0, kNoButton}},
    {3, {37, 65}, {37}, {8, kNoButton}, {3, kNoButton}},
    {5, {39, 68}, {39}, {10, kNoButton}, {5, kNoButton}},
    {8, {40, 83}, {40}, {11, kNoButton}, {8, kNoButton}},
    {10, {90, 74, 32, 13}, {32, 13}, {0, kNoButton}, {10, kNoButton}},
    {11, {88, 75, 17}, {17}, {1, kNoButton}, {11, kNoButton}},
    {12, {67, 76, 16}, {16}, {2, kNoButton}, {12, kNoButton}},
    {13, {86, 73}, {}, {3, kNoButton}, {13, kNoButton}},
    {14, {66, 85}, {}, {4, kNoButton}, {14, kNoButton}},
    {15, {78, 79}, {}, {5, kNoButton}, {15, kNoButton}},
    {99, {27, 192, 46, 8}, {27, 46, 8}, {6, 7, 14, kNoButton}, {16, 17, 19, kNoButton}},
    {98, {27, 192, 46, 8}, {}, {6, 7, 14, kNoButton}, {16, 17, 19, kNoButton}},
};

// The console build reads its back keys from the menu button alone.
constexpr LogicalKey kOuyaBack = {99, {27}, {27}, {6, 7, kNoButton}, {19, kNoButton}};
constexpr LogicalKey kOuyaPauseBack = {98, {27}, {27}, {6, kNoButton}, {19, kNoButton}};

const LogicalKey* FindKey(int key) {
    if (kp_VTR_isOuya == 1 && key == 99) return &kOuyaBack;
    if (kp_VTR_isOuya == 1 && key == 98) return &kOuyaPauseBack;
    for (const LogicalKey& entry : kKeys) {
        if (entry.key == key) return &entry;
    }
    return nullptr;
}

template <int N> bool AnyKeyDown(const int (&codes)[N]) {
    for (int code : codes) {
        if (code == 0) return false;
        if (kp_input_KeyDown(code)) return true;
    }
    return false;
}

bool AnyPadButtonDown(const int (&buttons)[4], int player) {
    for (int button : buttons) {
        if (button == kNoButton) return false;
        if (kp_input_KeyDown(256 + 32 * player + button)) return true;
    }
    return false;
}

// The input module polls four pads of two sticks each.
bool HasStick(int stick, int player) { return stick >= 0 && stick <= 1 && player >= 0 && player <= 3; }

}  // namespace

float c_MyApp::p_StickX(int stick, int player) {
    if (!HasStick(stick, player)) return 0;
    return kp_input_JoyX(stick, player);
}

float c_MyApp::p_StickY(int stick, int player) {
    if (!HasStick(stick, player)) return 0;
    float y = kp_input_JoyY(stick, player);
    return m_Settings[15 + stick] != 0 ? y : -y;
}

bool c_MyApp::StickHolds(int key, int player) {
    float x = p_StickX(0, player);
    if (key == 0) return p_StickY(0, player) < -0.4f;
    if (key == 3) return x < -0.4f;
    if (key == 5) return x > 0.4f;
    if (key == 8) return p_StickY(0, player) > 0.4f;
    return false;
}

int c_MyApp::p_PlayKey(int key, int allowStick, int player) {
    const LogicalKey* entry = FindKey(key);
    if (!entry || player < -1) return 0;
    bool iCade = kp_VTR_iCadeControls == 1;
    // On the console, the back key of the menus is the menu button alone.
    bool keyboard = !(kp_VTR_isOuya == 1 && key == 99 && player == -1);
    if (keyboard && (iCade ? AnyKeyDown(entry->keyboardICade) : AnyKeyDown(entry->keyboard))) return 1;
    if (player >= 0) {
        if (AnyPadButtonDown(entry->padButtons, player)) return 1;
        if (allowStick == 1 && StickHolds(key, player)) return 1;
    }
    for (int button : entry->virtualButtons) {
        if (button == kNoButton) break;
        if (m_VKeys[button] != 0) return m_VKeys[button];
    }
    return 0;
}

// Without a monitor there is no desktop to fill, and the window stays.
int c_MyApp::p_FullscreenFlip() {
    KpGlfwVideoMode* desktop = KpGlfwGame::_glfwGame->GetGlfwDesktopMode();
    if (!desktop) return 0;
    m_Fullscreen = 1 - m_Fullscreen;
    if (m_Fullscreen == 1) {
        KpGlfwGame::_glfwGame->SetGlfwWindow(desktop->width, desktop->height, desktop->red, desktop->green,
                                             desktop->blue, 0, 0, 0, true);
    } else {
        KpGlfwGame::_glfwGame->SetGlfwWindow(640, 480, desktop->red, desktop->green, desktop->blue, 0, 0, 0, false);
    }
    return 0;
}

namespace {

// An iCade types a letter when a button goes down and another when it goes up.
struct ICadeButton {
    char press;
    char release;
    int button;
};

constexpr ICadeButton kICadeButtons[] = {
    {'W', 'E', 0},  {'X', 'Z', 8},  {'A', 'Q', 3},  {'D', 'C', 5},  {'H', 'R', 10}, {'J', 'N', 11},
    {'K', 'P', 12}, {'Y', 'T', 13}, {'U', 'F', 14}, {'I', 'M', 15}, {'O', 'G', 16}, {'L', 'V', 17},
};

int UpperCase(int character) { return character >= 'a' && character <= 'z' ? character - 32 : character; }

}  // namespace

int c_MyApp::p_iCade(int on) {
    if (on == 1) {
        kp_input_EnableKeyboard();
        kp_VTR_iCadeControls = 1;
        do {
            m_ICadeChar = kp_input_GetChar();
        } while (m_ICadeChar != 0);
        return 0;
    }
    kp_input_DisableKeyboard();
    kp_VTR_iCadeControls = 0;
    for (int i = 0; i <= 18; ++i) m_VKeys[i] = 0;
    return 0;
}

void c_MyApp::TranslateICade() {
    for (m_ICadeChar = kp_input_GetChar(); m_ICadeChar != 0; m_ICadeChar = kp_input_GetChar()) {
        int letter = UpperCase(m_ICadeChar);
        for (const ICadeButton& entry : kICadeButtons) {
            if (letter == entry.press) m_VKeys[entry.button] = 2;
            if (letter == entry.release) m_VKeys[entry.button] = 0;
        }
    }
}

int c_MyApp::p_Button(int image, float x, float y, int frame) {
    p_DrawImg(image, x, y, static_cast<float>(frame));
    m_ButtonHit = FingerOnImage(image, x, y, false) ? 1 : 0;
    return m_ButtonHit;
}

int c_MyApp::p_Button0(int image, float x, float y, int frame) {
    p_DrawImg(image, x, y, static_cast<float>(frame));
    return FingerOnImage(image, x, y, true) ? 1 : 0;
}

// Whether a finger (or only finger 0) lies strictly inside the image's box
// centred on (x, y) at the current drawing scale.
bool c_MyApp::FingerOnImage(int image, float x, float y, bool firstFingerOnly) {
    if (m_Pressing <= 0) return false;
    float halfW = static_cast<float>(m_ImageSizes[image * 3]) * m_ImageScale * m_DrawScaleX / 2;
    float halfH = static_cast<float>(m_ImageSizes[image * 3 + 1]) * m_ImageScale * m_DrawScaleY / 2;
    int fingers = firstFingerOnly ? 1 : 10;
    for (int finger = 0; finger < fingers; ++finger) {
        if (!m_TouchDown[finger]) continue;
        float dx = static_cast<float>(m_TouchX[finger]) - x;
        float dy = static_cast<float>(m_TouchY[finger]) - y;
        if (dx > -halfW && dx < halfW && dy > -halfH && dy < halfH) return true;
    }
    return false;
}

void c_MyApp::OnScreenPad() {
    ClampSetting(10, kNearestPadEdge, static_cast<int>(kp_VTR_jscrw) - kNearestPadEdge);
    ClampSetting(11, kNearestPadEdge, static_cast<int>(kp_VTR_jscrh) - kNearestPadEdge);
    ClampSetting(12, 8, 25);
    m_PadX = m_Settings[10];
    m_PadY = static_cast<int>(kp_VTR_jscrh - static_cast<float>(m_Settings[11]));
    m_PadScale = static_cast<float>(m_Settings[12]) / 10;
    p_SetRot(0);
    p_SetCol(255, 255, 255, 0.6f);
    m_DrawBlend = 1;
    p_SetSize(m_PadScale, m_PadScale);
    float d = 32 * m_PadScale;
    float x = static_cast<float>(m_PadX), y = static_cast<float>(m_PadY);
    const struct {
        float x, y;
        int frame, button;
    } arrows[] = {{x - d, y, 4, 3}, {x, y - d, 1, 0}, {x, y + d, 9, 8}, {x + d, y, 6, 5}};
    for (const auto& arrow : arrows) {
        if (p_Button(94, arrow.x, arrow.y, arrow.frame) && m_Paused == 0) m_VKeys[arrow.button] = 1;
    }
    p_DrawImg(94, x, y, 5);
    if (m_Paused == 1) PlacePad();
    p_SetSize(1.5f * m_PadScale, -3717);
    float e = 24 * m_PadScale;
    if (p_Button(94, kp_VTR_jscrw - (x - e), y - e, 0)) m_VKeys[10] = 1;
    if (p_Button(94, kp_VTR_jscrw - (x + e), y + e, 0)) m_VKeys[11] = 1;
}

void c_MyApp::ClampSetting(int slot, int low, int high) {
    if (m_Settings[slot] > high) m_Settings[slot] = high;
    if (m_Settings[slot] < low) m_Settings[slot] = low;
}

// While paused, a finger drags the pad and two fingers pinch its size.
void c_MyApp::PlacePad() {
    p_SetSize(3, -3717);
    if (p_Button0(94, static_cast<float>(m_PadX), static_cast<float>(m_PadY), 0) && !m_TouchDown[1]) {
        m_Settings[10] = m_TouchX[0];
        m_Settings[11] = static_cast<int>(kp_VTR_jscrh - static_cast<float>(m_TouchY[0]));
    }
    if (m_TouchDown[0] && m_TouchDown[1]) {
        int distance = -static_cast<int>(std::abs(m_TouchX[0] - m_TouchX[1]) / 16.0f);
        if (m_PinchActive == 1) m_Settings[12] += m_PinchDist - distance;
        m_PinchDist = distance;
        m_PinchActive = 1;
    } else if (!m_TouchDown[1]) {
        m_PinchActive = 0;
        m_PinchDist = 0;
    }
}

void c_MyApp::Tilt() {
    m_TiltX = kp_input_AccelX() - m_AccelZeroX;
    m_TiltY = kp_input_AccelY() - m_AccelZeroY;
    m_TiltShownX += (m_TiltX - m_TiltShownX) / 4;
    m_TiltShownY += (m_TiltY - m_TiltShownY) / 4;
    if (std::fabs(m_TiltX - m_TiltShownX) < 0.005f) m_TiltShownX = m_TiltX;
    if (std::fabs(m_TiltY - m_TiltShownY) < 0.005f) m_TiltShownY = m_TiltY;
    p_SetSize(1.5f, -3717);
    p_Alpha(0.8f);
    if (p_Button(97, 24, kp_VTR_jscrh - 24, 7)) {
        m_AccelZeroX = kp_input_AccelX();
        m_AccelZeroY = kp_input_AccelY();
    }
    p_ResetDraw();
    p_SetCol(100, 255, 100, 0.6f);
    p_Oval(24 + 20 * m_TiltShownX, kp_VTR_jscrh - 24 + 20 * m_TiltShownY, 4, 4);
    p_ResetDraw();
}

int c_MyApp::p_PlayKeyAll(int key, int allowStick) {
    int sum = 0;
    for (int player = 0; player <= 3; ++player) sum += p_PlayKey(key, allowStick, player);
    return sum;
}

namespace {

constexpr float kStickRange = 72;
constexpr int kOriginSlack = 64;
constexpr int kOriginStep = 4;

// The origin creeps after a finger that strays too far, so the stick never
// needs a long way back.
int Follow(int origin, int finger) {
    if (finger - origin > kOriginSlack) return origin + kOriginStep;
    if (origin - finger > kOriginSlack) return origin - kOriginStep;
    return origin;
}

// A press anywhere becomes a stick centred where it began.
void FloatingStick(c_MyApp* app) {
    if (app->m_Pressing == 0) {
        app->m_TouchOriginX = -1;
        return;
    }
    if (app->m_TouchOriginX == -1) {
        app->m_TouchOriginX = app->m_MouseX;
        app->m_TouchOriginY = app->m_MouseY;
    } else {
        float dx = static_cast<float>(app->m_MouseX - app->m_TouchOriginX) / kStickRange;
        float dy = static_cast<float>(app->m_MouseY - app->m_TouchOriginY) / kStickRange;
        bool dead = std::fabs(dx) < 0.1f && std::fabs(dy) < 0.1f;
        app->m_StickDX = dead ? 0 : dx;
        app->m_StickDY = dead ? 0 : dy;
        app->m_TouchOriginX = Follow(app->m_TouchOriginX, app->m_MouseX);
        app->m_TouchOriginY = Follow(app->m_TouchOriginY, app->m_MouseY);
    }
    app->p_SetCol(0, 100, 250, 0.25f);
    app->p_Oval(static_cast<float>(app->m_TouchOriginX), static_cast<float>(app->m_TouchOriginY), 12, 12);
    app->p_Oval(static_cast<float>(app->m_MouseX), static_cast<float>(app->m_MouseY), 8, 8);
}

void PadStick(c_MyApp* app) {
    float x = app->p_StickX(0, 0);
    float y = app->p_StickY(0, 0);
    if (std::fabs(x) > 0.2f || std::fabs(y) > 0.2f) {
        app->m_StickDX = x;
        app->m_StickDY = y;
    }
}

// A held key pushes its ramp toward `direction`; once let go the ramp
// falls back to 0 a little faster. The output follows the ramp while it
// moves.
void Ramp(c_MyApp* app, int key, float direction, float& ramp, float& output) {
    if (app->p_PlayKey(key, 0, 0) != 0) {
        ramp += 0.15f * direction;
        output = ramp;
    } else if (ramp * direction > 0) {
        ramp -= 0.2f * direction;
        if (ramp * direction < 0) ramp = 0;
        output = ramp;
    }
}

float Clamp(float value) { return std::fmax(-1.0f, std::fmin(1.0f, value)); }

void KeyRamps(c_MyApp* app) {
    Ramp(app, 0, -1, app->m_KeyRampY, app->m_StickDY);
    Ramp(app, 8, 1, app->m_KeyRampY, app->m_StickDY);
    Ramp(app, 3, -1, app->m_KeyRampX, app->m_StickDX);
    Ramp(app, 5, 1, app->m_KeyRampX, app->m_StickDX);
    app->m_KeyRampX = Clamp(app->m_KeyRampX);
    app->m_KeyRampY = Clamp(app->m_KeyRampY);
}

void DrawDirection(c_MyApp* app) {
    if (std::fabs(app->m_StickDX) <= 0.05f && std::fabs(app->m_StickDY) <= 0.05f) return;
    float x = kp_VTR_jscrw - 64;
    float y = kp_VTR_jscrh - 64;
    app->p_SetCol(0, 180, 250, 0.5f);
    app->p_Oval(x, y, 12, 12);
    app->p_Oval(x + 52 * app->m_StickDX, y + 52 * app->m_StickDY, 8, 8);
}

}  // namespace

int c_MyApp::p_AnalogueControl() {
    m_StickDX = 0;
    m_StickDY = 0;
    FloatingStick(this);
    PadStick(this);
    KeyRamps(this);
    if (kp_VTR_DebugMode == 1) DrawDirection(this);
    p_ResetDraw();
    return 0;
}

namespace {

// Whether a finger that is down lies strictly inside the box.
bool FingerInside(const c_MyApp* app, float left, float top, float right, float bottom) {
    for (int finger = 0; finger < app->m_TouchDown.Length(); ++finger) {
        if (!app->m_TouchDown[finger]) continue;
        float x = static_cast<float>(app->m_TouchX[finger]);
        float y = static_cast<float>(app->m_TouchY[finger]);
        if (x > left && x < right && y > top && y < bottom) return true;
    }
    return false;
}

}  // namespace

// The box reaches further right and down, where a finger covers its target.
int c_MyApp::p_Touch(float x, float y, float w, float h) {
    p_Rect(x, y, w, h);
    return FingerInside(this, x - 6, y - 6, x + w + 12, y + h + 12) ? 1 : 0;
}

int c_MyApp::p_MouseIn(float x, float y, float w, float h) { return FingerInside(this, x, y, x + w, y + h) ? 1 : 0; }

int c_MyApp::p_MouseIn_Centered(float cx, float cy, float w, float h) {
    return FingerInside(this, cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2) ? 1 : 0;
}

int c_MyApp::p_MouseIn_Radius(float cx, float cy, float w, float h) {
    float reach = (w / 2) * (w / 2) + (h / 2) * (h / 2);
    for (int finger = 0; finger < m_TouchDown.Length(); ++finger) {
        if (!m_TouchDown[finger]) continue;
        float dx = static_cast<float>(m_TouchX[finger]) - cx;
        float dy = static_cast<float>(m_TouchY[finger]) - cy;
        if (dx * dx + dy * dy <= reach) return 1;
    }
    return 0;
}
