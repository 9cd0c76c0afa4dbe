#include <cstdint>

#include "framework/containers/stack.h"
#include "game/my_app.h"
#include "runtime/errors.h"

namespace {

constexpr int kSettings = 25;
constexpr int kBadgeWords = 8;
constexpr int kBlocksWritten = 8;
constexpr int kBlocksRead = 3;
constexpr int kBlockFields = 21;
// Settings and badges, each with its checksum, then the blocks read back.
constexpr int kFieldsRead = kSettings + 1 + kBadgeWords + 1 + kBlocksRead * kBlockFields;

// Checksums add with 32-bit wraparound.
int Add(int sum, long long term) {
    return static_cast<int>(static_cast<std::uint32_t>(sum) + static_cast<std::uint32_t>(term));
}

String Field(int value) { return String(value) + String("|"); }

int SettingsSum(const Array<int>& settings) {
    int sum = 0;
    for (int i = 0; i < kSettings; ++i) sum = Add(sum, static_cast<long long>(i) * settings[i]);
    return sum;
}

int BlockWeightFirst(int k) { return k + 4; }

int BlockWeightSecond(int block, int k) { return block + k + 3; }

// The state up to the end of the last field read, so that a huge state file
// is never split into millions of strings.
String PartRead(const String& state) {
    String separator("|");
    int end = -1;
    for (int field = 0; field < kFieldsRead; ++field) {
        end = state.Find(separator, end + 1);
        if (end == -1) return state;
    }
    return state.Slice(0, end + 1);
}

}  // namespace

int c_MyApp::p_Save() {
    String state;
    for (int i = 0; i < kSettings; ++i) state += Field(m_Settings[i]);
    state += Field(SettingsSum(m_Settings));

    int badgeSum = 0;
    for (int word = 0; word < kBadgeWords; ++word) {
        std::uint32_t bits = 0;
        for (int bit = 0; bit < 32; ++bit) {
            if (m_Badges[word * 32 + bit]) bits |= 1u << bit;
        }
        state += Field(static_cast<int>(bits));
        badgeSum = Add(badgeSum, static_cast<int>(bits));
    }
    state += Field(badgeSum);

    c_StringStack* pieces = (new c_StringStack)->m_new2();
    for (int block = 0; block < kBlocksWritten; ++block) {
        int sum = 0;
        for (int k = 0; k < 10; ++k) {
            int first = m_HighScores[10 * block + k];
            int second = m_HighScores[10 * block + 30 + k];
            pieces->p_Push4(Field(first));
            pieces->p_Push4(Field(second));
            sum = Add(sum, static_cast<long long>(BlockWeightFirst(k)) * first);
            sum = Add(sum, static_cast<long long>(BlockWeightSecond(block, k)) * second);
        }
        pieces->p_Push4(Field(sum));
    }
    state += pieces->p_Join(String());

    if (kp_VTR_DebugMode == 1) kpPrint(state);
    kp_app_SaveState(state);
    return 0;
}

int c_MyApp::p_Load() {
    String state = kp_app_LoadState();
    Array<String> fields = PartRead(state).Split(String("|"));
    if (kp_VTR_DebugMode == 1) kpPrint(state);
    int badgeStart = LoadSettings(fields);
    ClampSettings();
    int scoresStart = LoadBadges(fields, badgeStart);
    LoadHighScores(fields, scoresStart);
    kpPrint(String("Highscores Loaded"));
    return 0;
}

// Returns where the badge section starts: after the settings when they were
// there to read, else at the first field.
int c_MyApp::LoadSettings(const Array<String>& fields) {
    if (fields.Length() < kSettings + 1) return 0;
    for (int i = 0; i < kSettings; ++i) m_Settings[i] = fields[i].ToInt();
    if (SettingsSum(m_Settings) == fields[kSettings].ToInt()) {
        kpPrint(String("Settings Loaded"));
    } else {
        kpPrint(String("Settings Checksum Invalid"));
        for (int i = 0; i < kSettings; ++i) m_Settings[i] = 0;
        m_Settings[5] = 1;
    }
    return kSettings + 1;
}

// A pad placed by the player may sit down to 32 from the edge; only a value
// the pad never takes, as in a first state, gets the default of 64.
void c_MyApp::ClampSettings() {
    if (m_Settings[10] < kNearestPadEdge) m_Settings[10] = 64;
    if (m_Settings[11] < kNearestPadEdge) m_Settings[11] = 64;
    if (m_Settings[12] < 8) m_Settings[12] = 10;
    if (m_Settings[14] < 1) m_Settings[14] = 64;
    if (kp_VTR_isOuya == 1) {
        kp_VTR_overscan = static_cast<float>(m_Settings[14]);
    } else {
        m_Settings[14] = 1;
        kp_VTR_overscan = 0;
    }
}

// Returns where the highscore blocks start.
int c_MyApp::LoadBadges(const Array<String>& fields, int start) {
    if (fields.Length() <= start + kBadgeWords) return start;
    int sum = 0;
    for (int word = 0; word < kBadgeWords; ++word) {
        int bits = fields[start + word].ToInt();
        for (int bit = 0; bit < 32; ++bit) m_Badges[word * 32 + bit] = ((bits >> bit) & 1) != 0;
        sum = Add(sum, bits);
    }
    if (sum == fields[start + kBadgeWords].ToInt()) {
        kpPrint(String("Badges Loaded"));
    } else {
        kpPrint(String("Badge Checksum Invalid"));
        for (int flag = 0; flag < 256; ++flag) m_Badges[flag] = false;
    }
    return start + kBadgeWords + 1;
}

void c_MyApp::LoadHighScores(const Array<String>& fields, int start) {
    for (int block = 0; block < kBlocksRead; ++block) {
        int at = start + kBlockFields * block;
        if (fields.Length() <= at + 20) continue;
        int sum = 0;
        for (int k = 0; k < 10; ++k) {
            int first = fields[at + 2 * k].ToInt();
            int second = fields[at + 2 * k + 1].ToInt();
            m_HighScores[10 * block + k] = first;
            m_HighScores[10 * block + 30 + k] = second;
            sum = Add(sum, static_cast<long long>(BlockWeightFirst(k)) * first);
            sum = Add(sum, static_cast<long long>(BlockWeightSecond(block, k)) * second);
        }
        if (sum == fields[at + 20].ToInt()) continue;
        for (int k = 0; k < 10; ++k) {
            m_HighScores[10 * block + k] = 0;
            m_HighScores[10 * block + 30 + k] = 0;
        }
    }
}

// An equal score goes below the ones already there.
int c_MyApp::p_LoadMenu() {
    int score = m_Score;
    m_ScoreTable = 10 * (m_Difficulty - 1);
    m_NewRank = -1;
    for (int n = 0; n < 10; ++n) {
        if (m_NewRank == -1 && m_HighScores[m_ScoreTable + n] < score) m_NewRank = n;
    }
    if (m_NewRank != -1) {
        for (int n = 9; n > m_NewRank; --n) m_HighScores[m_ScoreTable + n] = m_HighScores[m_ScoreTable + n - 1];
        m_HighScores[m_ScoreTable + m_NewRank] = score;
    }
    m_ScoreTable += 30;
    for (int n = 9; n > 0; --n) m_HighScores[m_ScoreTable + n] = m_HighScores[m_ScoreTable + n - 1];
    m_HighScores[m_ScoreTable] = score;
    p_Save();
    return 0;
}
