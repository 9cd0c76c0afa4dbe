#include "host/kp_brisko_game.h"

int main(int argc, char** argv) {
    KpBriskoGame::Main(argc, argv);
    return 0;
}
