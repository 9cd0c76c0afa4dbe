#include "host/kp_game.h"

#include <cstdlib>

#include "runtime/errors.h"

void KpGame::Die(ThrowableObject*) {
    kpPrint(String("Brisko Runtime Error : Uncaught Brisko Exception"));
    std::exit(-1);
}
