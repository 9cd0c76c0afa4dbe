#include <cstdio>

#include "host/command_line.h"
#include "host/kp_brisko_game.h"

int main(int argc, char** argv) {
    int answered = AnswerCommandLine(argc, argv, stdout, stderr);
    if (answered >= 0) return answered;
    KpBriskoGame::Main(argc, argv);
    return 0;
}
