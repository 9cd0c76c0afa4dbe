#pragma once

#include "runtime/gc.h"

// The host object: owns the process and offers the platform's services.
class KpGame {
public:
    virtual ~KpGame() {}

    // Ends the program after a language exception escaped the game.
    [[noreturn]] virtual void Die(ThrowableObject* exception);
};
