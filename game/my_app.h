#pragma once

#include "framework/app/app.h"

// The game.
class c_MyApp : public c_App {
public:
    c_MyApp* m_new();
    int p_OnCreate() override;
};
