#include "game/my_app.h"

float kp_VTR_rawscrw;
float kp_VTR_rawscrh;
float kp_VTR_jscrw;
float kp_VTR_jscrh;
float kp_VTR_overscan;
int kp_VTR_DebugMode;
int kp_VTR_isOuya;
int kp_VTR_UseHDImages;
int kp_VTR_HasMusicStream;
int kp_VTR_iCadeControls;
int kp_VTR_OnScreenControls;
int kp_VTR_AccelerometerControls;
int kp_VTR_J_On_Allow;
int kp_VTR_GameNum;
int kp_VTR_J_On_Able;
String kp_VTR_GreetingHost;

// The desktop configuration: no console controls, no greeting request.
void kp_VTR_init() {
    kp_VTR_rawscrw = 640;
    kp_VTR_rawscrh = 480;
    kp_VTR_jscrw = 640;
    kp_VTR_jscrh = 480;
    kp_VTR_overscan = 0;
    kp_VTR_DebugMode = 0;
    kp_VTR_isOuya = 0;
    kp_VTR_UseHDImages = 1;
    kp_VTR_HasMusicStream = 1;
    kp_VTR_iCadeControls = 0;
    kp_VTR_OnScreenControls = 0;
    kp_VTR_AccelerometerControls = 0;
    kp_VTR_J_On_Allow = 0;
    kp_VTR_GameNum = 415;
    kp_VTR_J_On_Able = 0;
    // Never resolved in this build: the greeting switch is off.
    kp_VTR_GreetingHost = String("greeting.vantaroo.invalid");
    kp_VTR_init_texts();
}

void kp_VTR_mark() {
    gc_mark(kp_VTR_MenuSet);
    gc_mark(kp_VTR_CreditText);
}
