#include "tests/reliability/random_player.h"

#include <algorithm>
#include <initializer_list>

#include "game/my_app.h"

namespace {

constexpr int kDirections[] = {37, 38, 39, 40, 65, 87, 68, 83};
// The eight buttons in their keyboard sets, the back keys, F1 (figures), F2
// (score line) and F11 (full screen).
constexpr int kButtons[] = {90, 74, 32, 13, 88, 75, 17, 67, 76, 16, 86, 73, 66, 85,
                            78, 79, 27, 192, 46, 8,  112, 113, 122};
// An iCade's buttons, by the letter each types when pressed; the letter it
// types on release follows in the same place of kICadeReleases.
constexpr int kICadePresses[] = {'W', 'X', 'A', 'D', 'H', 'J', 'K', 'Y', 'U', 'I', 'O', 'L'};
constexpr int kICadeReleases[] = {'E', 'Z', 'Q', 'C', 'R', 'N', 'P', 'T', 'F', 'M', 'G', 'V'};

constexpr int kFingers = 3;
constexpr int kOptionsQuitRow = 6;

bool OneOf(int key, std::initializer_list<int> keys) { return std::find(keys.begin(), keys.end(), key) != keys.end(); }

int Opposite(int direction) {
    switch (direction) {
        case 37: return 39;
        case 39: return 37;
        case 38: return 40;
        case 40: return 38;
        case 65: return 68;
        case 68: return 65;
        case 87: return 83;
        default: return 87;
    }
}

}  // namespace

RandomPlayer::RandomPlayer(GameTestHost& host, c_MyApp& app, const GameSwitches& switches, unsigned seed)
    : host(host), app(app), switches(switches), random(seed) {
    if (switches.iCade) app.p_iCade(1);
}

bool RandomPlayer::Chance(int oneIn) { return std::uniform_int_distribution<int>(1, oneIn)(random) == 1; }

int RandomPlayer::Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

// Keys are named by what they do in the game's key sets; iCade letters by
// the button they press. On the console the options box's Quit row, the
// quit dialog and the wheel's quit item end the program.
bool RandomPlayer::MayEndTheProgram(int key) const {
    bool back = switches.console ? OneOf(key, {27}) : OneOf(key, {27, 192, 46, 8, 'O', 'L'});
    bool confirm = OneOf(key, {88, 75, 17, 67, 76, 16, 'J', 'K'});
    bool fire = confirm || OneOf(key, {90, 74, 32, 13, 'H'});
    bool button = fire || OneOf(key, {86, 73, 66, 85, 78, 79, 'Y', 'U', 'I'});
    bool onTitle = app.m_GameMode < 10;
    if (!switches.console) return back && onTitle && app.m_OptionsOpen == 0;
    if (app.m_OptionsOpen != 0) return button && app.m_OptionCursor == kOptionsQuitRow;
    if (app.m_GameMode == 4) return confirm || back;
    return onTitle && app.m_MenuCursor <= 0 && fire;
}

// On the console the options box has a quit row, and a tap on the wheel or
// the play button fires the selected item, which may be the quit item; the
// quit dialog takes no touches.
bool RandomPlayer::TouchMayEndTheProgram() const {
    if (!switches.console) return false;
    return app.m_OptionsOpen != 0 || (app.m_GameMode < 10 && app.m_MenuCursor <= 0);
}

void RandomPlayer::Act() {
    if (resting > 0) {
        --resting;
        return;
    }
    if (Chance(10000)) {
        LetGoOfEverything();
        resting = Between(1000, 5000);
        return;
    }
    LetGoOfQuitKeys();
    Play(direction, kDirections, 8, 30, 60);
    if (direction.key != 0 && otherDirection.key == 0 && Chance(40)) {
        int key = Chance(2) ? Opposite(direction.key) : kDirections[Between(0, 7)];
        otherDirection = {key, Between(1, 40)};
        host.KeyEvent(kKeyDown, key);
    } else if (otherDirection.key != 0 && --otherDirection.updatesLeft <= 0) {
        Let(otherDirection);
    }
    Play(button, kButtons, static_cast<int>(std::size(kButtons)), 40, 30);
    Mouse();
    Fingers();
    if (switches.tilt) Tilt();
    if (switches.iCade) ICade();
    Window();
    if (Chance(8000)) {
        host.SuspendGame();
        away = Between(1, 30);
    }
}

void RandomPlayer::TurnAway() {
    if (--away > 0) return;
    host.ResumeGame();
    if (switches.iCade) app.p_iCade(1);
}

// Lets the held key go when its time is up, or now and then presses a new
// one; never one that could end the program now.
void RandomPlayer::Play(Held& held, const int* keys, int count, int oneIn, int longest) {
    if (held.key != 0 && --held.updatesLeft <= 0) Let(held);
    if (held.key != 0 || !Chance(oneIn)) return;
    int key = keys[Between(0, count - 1)];
    if (MayEndTheProgram(key)) return;
    held = {key, Between(1, longest)};
    host.KeyEvent(kKeyDown, key);
}

void RandomPlayer::Let(Held& held) {
    host.KeyEvent(kKeyUp, held.key);
    held.key = 0;
}

void RandomPlayer::LetGoOfEverything() {
    for (Held* held : {&direction, &otherDirection, &button}) {
        if (held->key != 0) Let(*held);
    }
    if (iCadeButton.key != 0) {
        host.KeyEvent(kKeyChar, kICadeReleases[iCadeButton.updatesLeft]);
        iCadeButton.key = 0;
    }
    if (mouse.key != 0) {
        host.MouseEvent(kMouseUp, 0, mouseX, mouseY);
        mouse.key = 0;
    }
    while (fingers > 0) {
        --fingers;
        host.TouchEvent(kTouchUp, fingers, fingerX[fingers], fingerY[fingers]);
    }
}

// A key held since before the game came to a place where it would end the
// program is let go before the next update sees it.
void RandomPlayer::LetGoOfQuitKeys() {
    for (Held* held : {&direction, &otherDirection, &button}) {
        if (held->key != 0 && MayEndTheProgram(held->key)) Let(*held);
    }
    if (iCadeButton.key != 0 && MayEndTheProgram(iCadeButton.key)) {
        host.KeyEvent(kKeyChar, kICadeReleases[iCadeButton.updatesLeft]);
        iCadeButton.key = 0;
    }
    if (mouse.key != 0 && TouchMayEndTheProgram()) {
        host.MouseEvent(kMouseUp, 0, mouseX, mouseY);
        mouse.key = 0;
    }
    while (fingers > 0 && TouchMayEndTheProgram()) {
        --fingers;
        host.TouchEvent(kTouchUp, fingers, fingerX[fingers], fingerY[fingers]);
    }
}

void RandomPlayer::Mouse() {
    if (mouse.key != 0) {
        mouseX += static_cast<float>(Between(-20, 20));
        mouseY += static_cast<float>(Between(-20, 20));
        host.MouseEvent(kMouseMove, -1, mouseX, mouseY);
        if (--mouse.updatesLeft <= 0) {
            host.MouseEvent(kMouseUp, 0, mouseX, mouseY);
            mouse.key = 0;
        }
        return;
    }
    if (!Chance(200) || TouchMayEndTheProgram()) return;
    mouseX = static_cast<float>(Between(0, host.width - 1));
    mouseY = static_cast<float>(Between(0, host.height - 1));
    mouse = {1, Between(1, 20)};
    host.MouseEvent(kMouseDown, 0, mouseX, mouseY);
}

// Up to three fingers land one after another, drag and lift together.
void RandomPlayer::Fingers() {
    if (fingers > 0) {
        for (int finger = 0; finger < fingers; ++finger) {
            fingerX[finger] += static_cast<float>(Between(-12, 12));
            fingerY[finger] += static_cast<float>(Between(-12, 12));
            host.TouchEvent(kTouchMove, finger, fingerX[finger], fingerY[finger]);
        }
        if (--fingerUpdates <= 0) {
            while (fingers > 0) {
                --fingers;
                host.TouchEvent(kTouchUp, fingers, fingerX[fingers], fingerY[fingers]);
            }
        }
    }
    if (fingers == kFingers || !Chance(fingers == 0 ? 300 : 20) || TouchMayEndTheProgram()) return;
    fingerX[fingers] = static_cast<float>(Between(0, host.width - 1));
    fingerY[fingers] = static_cast<float>(Between(0, host.height - 1));
    host.TouchEvent(kTouchDown, fingers, fingerX[fingers], fingerY[fingers]);
    ++fingers;
    fingerUpdates = Between(1, 40);
}

void RandomPlayer::Tilt() {
    if (!Chance(20)) return;
    auto tilt = [this] { return static_cast<float>(Between(-100, 100)) / 100.0f; };
    host.MotionEvent(kAcceleration, 0, tilt(), tilt(), tilt());
}

// The iCade types a press letter and, when the button comes up, its
// release letter; the index of the letters rides in `updatesLeft`.
void RandomPlayer::ICade() {
    if (iCadeButton.key != 0) {
        if (Chance(30)) {
            host.KeyEvent(kKeyChar, kICadeReleases[iCadeButton.updatesLeft]);
            iCadeButton.key = 0;
        }
        return;
    }
    if (!Chance(40)) return;
    int index = Between(0, static_cast<int>(std::size(kICadePresses)) - 1);
    if (MayEndTheProgram(kICadePresses[index])) return;
    iCadeButton = {kICadePresses[index], index};
    host.KeyEvent(kKeyChar, kICadePresses[index]);
}

// Now and then the window takes another size, portrait ones included.
void RandomPlayer::Window() {
    if (!Chance(5000)) return;
    host.width = Between(240, 1920);
    host.height = Between(180, 1200);
}
