#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tests/game/game_fixture.h"

constexpr int kLeftKey = 37;
constexpr int kRightKey = 39;
constexpr int kJumpKey = 90;

// Notes which samples the game plays; the music stays silent.
class EffectLog : public gxtkAudio {
public:
    std::vector<gxtkSample*> played;
    int musicStops = 0;

    int PlaySample(gxtkSample* sample, int, int) override {
        played.push_back(sample);
        return 0;
    }
    int PlayMusic(String, int) override { return 0; }
    int StopMusic() override {
        ++musicStops;
        return 0;
    }
};

// A loaded game whose effects are logged, with helpers to lay out a level
// by hand and to place the player.
class PlayTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        FinishLoading();
        audio = new EffectLog;
        kp_audio_SetAudioDevice(audio);
    }

    void StartGame(int difficulty = 2) {
        app->m_Difficulty = difficulty;
        app->m_GameMode = 11;
        Update();
    }

    float* Cell(int x, int y) { return app->m_Grid.Data() + (x + 100 * y) * 10; }

    // Walls and floor only, nothing dropping in.
    void EmptyLayout() {
        for (int y = 0; y <= app->m_GridH; ++y) {
            for (int x = 0; x <= app->m_GridW; ++x) {
                float* cell = Cell(x, y);
                bool fixed = x == 0 || x == app->m_GridW || y == app->m_GridH;
                cell[0] = fixed ? 1 : 0;
                cell[1] = 0;
                cell[2] = 0;
            }
        }
    }

    void Platform(int fromX, int toX, int y) {
        for (int x = fromX; x <= toX; ++x) Cell(x, y)[0] = 2;
    }

    void PlacePlayer(float x, float y) {
        app->m_Player[1] = x;
        app->m_Player[2] = y;
        app->m_Player[4] = 0;
    }

    float* Object(int slot) { return app->m_Objects.Data() + 10 * slot; }

    bool UpdateUntil(const std::function<bool()>& done, int limit) {
        for (int i = 0; i < limit; ++i) {
            if (done()) return true;
            Update();
        }
        return done();
    }

    // The numbers of the effects played since the last call.
    std::vector<int> TakeEffects() {
        std::vector<int> numbers;
        for (gxtkSample* sample : audio->played) {
            for (int n = 0; n < app->m_Sounds.Length(); ++n) {
                if (app->m_Sounds[n] && app->m_Sounds[n]->m_sample == sample) numbers.push_back(n);
            }
        }
        audio->played.clear();
        return numbers;
    }

    int Count(const std::vector<int>& numbers, int n) {
        int count = 0;
        for (int number : numbers) count += number == n ? 1 : 0;
        return count;
    }

    // The characters queued in the bitmap font at a drawing scale, in order
    // (spaces are not drawn).
    std::string Glyphs(float scale) {
        std::string text;
        for (int at = 0; at + 15 <= app->m_DrawCount; at += 15) {
            const float* command = app->m_DrawList.Data() + at;
            if (command[0] == app->m_FontImage && command[4] == scale) text += static_cast<char>(command[6] + 32);
        }
        return text;
    }

    // The frame of the play-sheet image queued at the player's position.
    int PlayerFrame() {
        for (int at = 0; at + 15 <= app->m_DrawCount; at += 15) {
            const float* command = app->m_DrawList.Data() + at;
            if (command[0] == 1 && command[1] == app->m_Player[28] && command[2] == app->m_Player[29]) {
                return static_cast<int>(command[6]);
            }
        }
        return -1;
    }

    EffectLog* audio = nullptr;
};
