#pragma once

#include <string>

#include "tests/support/game_test_host.h"

class c_MyApp;

// What must hold after every update, whatever the player did: the menu
// cursor stays on an item that exists; a tune the game started plays until
// it is stopped or has played to its end, through pauses and focus changes;
// the state the game would save loads back to the same state; the
// collector's lists are whole. (That the program ends only when asked to is
// watched by the caller, which knows when it asked.)
class PlayInvariants {
public:
    // `tunesOpened` counts the tunes the game has started, `tuneSeconds` is
    // their length.
    PlayInvariants(c_MyApp& app, GameTestHost& host, const long& tunesOpened, double tuneSeconds)
        : app(app), host(host), tunesOpened(tunesOpened), youngTuneSeconds(tuneSeconds * 2 / 3) {
        Returned();
    }

    void Check(long update);
    // The window is back after a time away, during which nothing played.
    void Returned();
    int Failures() const { return failures; }

private:
    void Fail(long update, const std::string& what);
    bool CursorInRange() const;
    bool YoungTunePlays();
    bool SavedStateLoadsBack();

    c_MyApp& app;
    GameTestHost& host;
    const long& tunesOpened;
    // A tune that has played less than this cannot have ended on its own.
    const double youngTuneSeconds;
    long tunesSeen = 0;
    double tunePlayedSeconds = 0;
    // The device's clock at the last check.
    double lastMixed;
    int failures = 0;
    int savesSeen = 0;
};
