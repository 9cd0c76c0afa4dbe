#pragma once

#include "framework/app/app.h"
#include "framework/audio/audio.h"
#include "framework/graphics/graphics.h"
#include "framework/http/http_request.h"
#include "host/kp_glfw_game.h"

// The game's switches and screen: module globals given their first values by
// kp_VTR_init.
extern float kp_VTR_rawscrw;
extern float kp_VTR_rawscrh;
extern float kp_VTR_jscrw;
extern float kp_VTR_jscrh;
extern float kp_VTR_overscan;
extern int kp_VTR_DebugMode;
extern int kp_VTR_isOuya;
extern int kp_VTR_UseHDImages;
extern int kp_VTR_HasMusicStream;
extern int kp_VTR_iCadeControls;
extern int kp_VTR_OnScreenControls;
extern int kp_VTR_AccelerometerControls;
extern int kp_VTR_J_On_Allow;
extern int kp_VTR_GameNum;
// 1 once the greeting request got a non-empty reply.
extern int kp_VTR_J_On_Able;
// The maker's greeting host (with ":port" when not 80).
extern String kp_VTR_GreetingHost;

// The speed wheel's names and descriptions, and the credits.
extern Array<String> kp_VTR_MenuSet;
extern Array<String> kp_VTR_CreditText;

// The on-screen pad's centre keeps at least this far from the screen's
// edges (settings slots 10 and 11).
constexpr int kNearestPadEdge = 32;

void kp_VTR_init();
void kp_VTR_init_texts();
// Marks the game's globals that hold references.
void kp_VTR_mark();

// The whole game: one object whose fields hold all its state. Records
// (player, cells, objects, particles, stars) are runs of floats in large
// arrays allocated once; integers in them are stored as floats.
class c_MyApp : public c_App, public virtual c_IOnHttpRequestComplete {
public:
    // Mode and flow.
    int m_GameMode = 0;
    int m_LoaderStep = 0;
    int m_Paused = 0;
    int m_PauseState = 0;
    int m_PauseSlide = 0;
    int m_PauseCursor = 0;
    int m_GameOverTimer = 0;
    int m_GameOverTime = 0;
    int m_QuitChoice = 0;
    int m_Difficulty = 0;
    int m_OptionsOpen = 0;
    int m_OptionsTimer = 0;
    int m_MenuPanelA = 0;
    int m_MenuPanelB = 0;
    float m_PanelSlide = 0;
    int m_MenuCursor = 0;
    float m_MenuScroll = 0;
    int m_MenuIntro = 0;
    float m_MenuAngle = 0;
    float m_MenuSpin = 0;
    int m_MenuFocus = 0;
    float m_DialAngle = 0;
    float m_CreditScroll = 0;
    int m_CreditLine = 0;
    int m_WheelDragging = 0;
    int m_WheelDragX = 0;
    int m_WheelDragY = 0;
    int m_WheelPicked = 0;
    int m_OptionCursor = 0;
    int m_OptionKeyHeld = 0;
    int m_OptionTouchHeld = 0;
    float m_OrbitAngle1 = 0;
    float m_OrbitAngle2 = 0;
    float m_OrbitAngle3 = 0;
    float m_OrbitRadius = 0;
    float m_OrbitSpeed = 0;
    Array<float> m_OrbitTrail;
    int m_N = 0;

    // Timing and screen.
    int m_UpdateLastMs = 0;
    int m_UpdateFps = 0;
    int m_UpdateFpsAvg = 0;
    int m_RenderLastMs = 0;
    int m_RenderFps = 0;
    int m_RenderFpsAvg = 0;
    int m_LastDevWidth = 0;
    int m_LastDevHeight = 0;
    // One device pixel per virtual pixel until the first render fits the screen.
    float m_ScaleX = 1;
    float m_ScaleY = 1;
    // Device pixels from the window's corner to the virtual screen's.
    float m_ScreenLeft = 0;
    float m_ScreenTop = 0;
    // The virtual screen of the window's own shape at the last render (0
    // before the first), and the one the running level was laid out for.
    float m_FitW = 0;
    float m_FitH = 0;
    float m_LevelW = 0;
    float m_LevelH = 0;
    int m_Landscape = 0;
    int m_TempInt = 0;
    int m_Fullscreen = 0;
    int m_HDLevel = 0;
    float m_ImageScale = 0;

    // Drawing state and the frame's command list.
    Array<float> m_DrawList;
    int m_DrawCount = 0;
    float m_DrawScaleX = 0;
    float m_DrawScaleY = 0;
    float m_DrawRot = 0;
    float m_DrawRed = 0;
    float m_DrawGreen = 0;
    float m_DrawBlue = 0;
    float m_DrawAlpha = 0;
    int m_DrawBlend = 0;
    float m_ClsRed = 0;
    float m_ClsGreen = 0;
    float m_ClsBlue = 0;
    float m_ClsAlpha = 0;
    float m_BgTargetR = 0;
    float m_BgTargetG = 0;
    float m_BgTargetB = 0;
    float m_BgR = 0;
    float m_BgG = 0;
    float m_BgB = 0;
    float m_ViewX = 0;
    float m_ViewY = 0;
    float m_ViewW = 0;
    float m_ViewH = 0;
    Array<c_Image*> m_Images;
    Array<int> m_ImageSizes;
    int m_FontImage = 0;
    int m_WaitTimer = 0;
    int m_JinglePlayed = 0;

    // Input, in virtual pixels.
    int m_MouseX = 0;
    int m_MouseY = 0;
    int m_PrevMouseX = 0;
    int m_PrevMouseY = 0;
    int m_PrevMouseDown = 0;
    int m_Pressing = 0;
    int m_MouseHits = 0;
    Array<int> m_TouchDown;
    Array<int> m_TouchX;
    Array<int> m_TouchY;
    int m_TouchUsed = 0;
    int m_TouchDelay = 0;
    int m_KeyUsed = 0;
    Array<int> m_VKeys;
    int m_PromptStyle = 0;
    int m_HideHud = 0;
    int m_ButtonHit = 0;
    int m_ICadeChar = 0;
    int m_PadX = 0;
    int m_PadY = 0;
    float m_PadScale = 0;
    int m_PinchActive = 0;
    int m_PinchDist = 0;
    int m_PinchStart = 0;
    float m_AccelZeroX = 0;
    float m_AccelZeroY = 0;
    float m_TiltX = 0;
    float m_TiltY = 0;
    float m_TiltShownX = 0;
    float m_TiltShownY = 0;

    // Saved data, badges and sound.
    Array<int> m_Settings;
    Array<bool> m_Badges;
    Array<int> m_HighScores;
    int m_ScoreTable = 0;
    int m_NewRank = 0;
    Array<int> m_BadgeShow;
    Array<int> m_BadgeShowTime;
    Array<c_Sound*> m_Sounds;
    int m_SfxNext = 0;
    Array<int> m_SfxVoice;
    String m_LastTune;
    int m_TunePlaying = 0;
    int m_TuneStarted = 0;

    // Play.
    int m_GridW = 0;
    int m_GridH = 0;
    // Rows from the top that may hold cells since the grid was last cleared;
    // the rows below are all zero.
    int m_GridRowsUsed = 0;
    Array<float> m_Grid;
    Array<float> m_Player;
    Array<float> m_Objects;
    Array<float> m_Particles;
    int m_ParticleTop = 0;
    Array<float> m_Stars;
    int m_StarCount = 0;
    int m_Score = 0;
    int m_X = 0;
    int m_Y = 0;
    int m_CellIndex = 0;
    int m_RunLeft = 0;
    int m_GapLeft = 0;
    int m_ScratchX = 0;
    int m_ScratchInt = 0;
    int m_ScratchY = 0;
    int m_ScratchRow = 0;
    int m_ShownScore = 0;
    int m_LevelEnd = 0;
    int m_Landed = 0;
    int m_CanJump = 0;
    float m_Running = 0;
    float m_StickDX = 0;
    float m_StickDY = 0;
    float m_KeyRampX = 0;
    float m_KeyRampY = 0;
    int m_TouchOriginX = -1;
    int m_TouchOriginY = -1;
    int m_PopupWidth = 0;

    String m_PlayerName;
    // The greeting request in flight, and whether it has completed.
    c_HttpRequest* m_Request = nullptr;
    int m_RequestDone = 0;

    c_MyApp* m_new();
    void mark() override;

    // Shell: lifecycle, modes and the per-frame dispatch.
    int p_OnCreate() override;
    int p_OnUpdate() override;
    int p_OnRender() override;
    int p_OnSuspend() override;
    int p_OnResume() override;
    int p_InGame();
    int p_LoadGame();
    int p_FlushGame();
    int p_ResetObj();
    int p_ResetGrid();
    // The grid's size for the screen: 16-pixel cells, within its row stride.
    void SizeGrid();
    int p_ResetPlayers();

    // Drawing helpers and bitmap text.
    int p_ResetDraw();
    int p_CLS2D(float r, float g, float b, float a);
    int p_SetSize(float sx, float sy);
    int p_SetRot(float degrees);
    int p_SetCol(float r, float g, float b, float a);
    int p_Alpha(float a);
    int p_Ink(int colour, float brightness);
    int p_DrawImg(int image, float x, float y, float frame);
    int p_Rect(float x, float y, float w, float h);
    int p_Oval(float x, float y, float xRadius, float yRadius);
    int p_Line(float x1, float y1, float x2, float y2);
    int p_Tri(float x1, float y1, float x2, float y2, float x3, float y3);
    int p_Text(float x, float y, String text, float alignX, float alignY, int fontOffset);
    String p_rstr(int value, int width, String pad);

    // Asset loading and the loading screen.
    int p_LoadImg(int id, String name, int frameWidth, int frameHeight, int frames, int flags);
    int p_LoadFont(int id, String name, int advance, int lineHeight);
    int p_ReserveImg(int id, int width, int height);
    int p_Reload();
    int p_Loader();
    int p_WaitStart(int mode);

    // Tunes and sound effects.
    int p_LoadSFX(int n);
    int p_PlaySFX(int n, float rate, float volume, float pan);
    int p_PlayTune(String name, int flags);
    int p_StopTune();

    // Game input.
    int p_PlayKey(int key, int allowStick, int player);
    int p_PlayKeyAll(int key, int allowStick);
    float p_StickX(int stick, int player);
    float p_StickY(int stick, int player);
    int p_iCade(int on);
    int p_AnalogueControl();
    int p_Button(int image, float x, float y, int frame);
    int p_Button0(int image, float x, float y, int frame);
    int p_Touch(float x, float y, float w, float h);
    int p_MouseIn(float x, float y, float w, float h);
    int p_MouseIn_Centered(float cx, float cy, float w, float h);
    int p_MouseIn_Radius(float cx, float cy, float w, float h);
    int p_FullscreenFlip();

    // Level layout and the grid.
    int p_NewLay();
    bool p_isWall(int x, int y);
    bool p_isSolid(int x, int y);
    bool p_PushFloor(int x, int y);
    int p_Rand(float lo, float hi);
    int p_SeedRnd(int seed);
    int UpdateCells();

    // Play, scoring and game over.
    int p_Game();
    int p_GameOver();
    int p_ScoreDisplay();
    int p_Gimme(int points, float x, float y);
    int p_FreeObj(int n);

    // Particles, stars and backgrounds.
    int p_DoParticles(float scale);
    int p_AddParticle(int kind, float x, float y, float vx, float vy, int value, int colour, int alphaLess1);
    int p_ThrowParticle(float x, float y, int kind, int colour, float angle, float speed);
    int p_FreeParticle();
    int p_ResetParticles(int n);
    int p_ResetStars(int n);
    int p_DoBG(int red, int green, int blue, float alpha);

    // Badges and highscore tables.
    String p_BadgeID(int badge);
    String p_BadgeName(int badge);
    String p_BadgeDetail(int badge);
    int p_ShowBadges();
    String p_Nth(int n);
    String p_MyNth();
    int p_GC_PostScore(int score, int table);
    int p_GC_Badges();

    // Saved settings and highscores, the title menu, options, pause and quit.
    int p_Menu();
    int p_LoadMenu();
    int p_Load();
    int p_Save();
    int p_OuyaQuit();
    int p_PauseMenu();
    int p_OptionBox();
    // The text an options row shows for the current settings.
    String OptionText(int row);

    // The online greeting.
    int p_GetURL(String url, String query);
    int p_OnHttpRequestComplete(c_HttpRequest* request) override;

private:
    // Pieces of the shell's update and render.
    void ReadBackAndFunctionKeys();
    float VirtualX(float deviceX);
    float VirtualY(float deviceY);
    void ReadPointer();
    void ReadFingers();
    bool AnyPlayerHolds(int key);
    void LatchKeys();
    void RunMode();
    void DispatchMode();
    void EasePanel();
    void TouchControls();
    void DrawDiagnostics();
    void OpenPause();
    void PauseIcon();
    void StartPlayer();
    void ClearVirtualKeys();
    void PauseIfPlaying();
    void FitScreen(float width, float height);
    bool LevelKept();
    void KeepLevelOnScreen(float width, float height);
    void ClipToLevel();
    void ReplayCommands();
    bool StickHolds(int key, int player);
    bool MenuPanelOpen();
    float PanelWidth();
    void SetLatches(int value);
    void MenuBackKeys();
    void MenuLogoAndPanel(bool& fire);
    String TableText(const char* title, const char* single, int rows);
    void MenuTables();
    void MenuWheelMotion();
    float HubX();
    float HubY();
    void MenuWheel(bool& fire);
    void DragWheel(bool hubTouched);
    void MenuItems(bool& fire);
    void DrawWheelItem(int m, float a, float x, float y);
    void BounceAndSelect(int m, float a, int selected);
    void TouchWheelItem(int m, float x, float y, bool& fire);
    void MenuKeys(bool& fire);
    void MenuKeyRepeat(bool up, bool down);
    void StepWheel(bool up);
    void MoveFocus(int step);
    void MenuFire();
    void MenuCredits();
    void CreditsDebugBlock(float x);
    void OverscanFrame();
    void CloseOptions();
    void OptionBackDial();
    void OverscanRow(float y, int& touchLatch, int& keyLatch);
    int OptionRows();
    bool OptionRowShown(int row);
    bool OptionBar(float x, float y, float width, bool lit);
    bool OptionChosen(int row);
    void ActOnOption(int row);
    void QuitRow(float previousY);
    void OptionKeys(int rows);
    void SlidePause();
    void PauseOrbit();
    void PauseButtons();
    int LoadSettings(const Array<String>& fields);
    void ClampSettings();
    int LoadBadges(const Array<String>& fields, int start);
    void LoadHighScores(const Array<String>& fields, int start);
    void TranslateICade();
    bool FingerOnImage(int image, float x, float y, bool firstFingerOnly);
    void OnScreenPad();
    void ClampSetting(int slot, int low, int high);
    void PlacePad();
    void Tilt();
    // A free particle slot with its kind and place set; null when the pool
    // is full.
    float* ClaimParticle(int kind, float x, float y);
};
