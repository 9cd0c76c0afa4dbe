#pragma once

#include <random>

#include "tests/reliability/game_switches.h"
#include "tests/support/game_test_host.h"

class c_MyApp;

// A restless player: holds keys for a while, two at once, opposite
// directions together, presses the mouse and up to three fingers and drags
// them, tilts the device, types on an iCade, leaves the window and comes
// back, resizes it; and now and then lets go of everything for a while, so
// that a level or a pause outlasts a tune. Before each update it acts on what the game shows; it
// never asks the program to end (F4, the close button, the back key on the
// desktop title, the console's quit item, quit row and quit dialog), so the
// program has no reason to end while it plays.
class RandomPlayer {
public:
    RandomPlayer(GameTestHost& host, c_MyApp& app, const GameSwitches& switches, unsigned seed);

    void Act();
    // True while the window has lost the focus: the host does not update.
    bool Away() const { return away > 0; }
    // Counts down a turn away; comes back when it is over.
    void TurnAway();

private:
    struct Held {
        int key = 0;
        int updatesLeft = 0;
    };

    bool Chance(int oneIn);
    int Between(int low, int high);
    bool MayEndTheProgram(int key) const;
    bool TouchMayEndTheProgram() const;
    void Play(Held& held, const int* keys, int count, int oneIn, int longest);
    void Let(Held& held);
    void LetGoOfEverything();
    void LetGoOfQuitKeys();
    void Mouse();
    void Fingers();
    void Tilt();
    void ICade();
    void Window();

    GameTestHost& host;
    c_MyApp& app;
    const GameSwitches& switches;
    std::mt19937 random;
    Held direction, otherDirection, button, iCadeButton;
    Held mouse;
    float mouseX = 0, mouseY = 0;
    int fingers = 0;
    float fingerX[3] = {}, fingerY[3] = {};
    int fingerUpdates = 0;
    int away = 0;
    int resting = 0;
};
