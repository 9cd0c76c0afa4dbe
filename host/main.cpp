#include <clocale>
#include <csignal>

#include "runtime/errors.h"
#include "runtime/gc.h"

int main(int, char**) {
    std::signal(SIGSEGV, sighandler);
    std::signal(SIGILL, sighandler);
    std::signal(SIGFPE, sighandler);
    if (!std::setlocale(LC_CTYPE, "en_US.UTF-8")) std::setlocale(LC_CTYPE, "");
    gc_init1();
    gc_init2();
    kpPrint(String("Vantaroo: runtime started; the window arrives with the host."));
    return 0;
}
