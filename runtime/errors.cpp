#include "runtime/errors.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/gc.h"

const char* dbg_info;
String dbg_exstack;
int dbg_stepmode;
int dbg_suspend;

namespace {

// A controlling tool names objects by address; only a live collected object
// is asked for its text, so a stale or made-up address cannot crash the stop.
String debugTextAt(const char* addressText) {
    void* address = nullptr;
    if (std::sscanf(addressText, "%p", &address) != 1 || !address) return String();
    gc_object* object = gc_find_live(address);
    Object* languageObject = object ? dynamic_cast<Object*>(object) : nullptr;
    return languageObject ? languageObject->debug() : String();
}

// Reads one command line; the process ends when none can be read.
void readCommand(char* line, int size) {
    if (!std::fgets(line, size, stdin)) std::exit(-1);
    char* lineFeed = std::strchr(line, '\n');
    if (!lineFeed) std::exit(-1);
    *lineFeed = 0;
}

}  // namespace

void kpPrint(String text) {
    static std::string buffer;
    buffer.clear();
    text.AppendUtf8(buffer);
    buffer.push_back('\n');
    std::fwrite(buffer.data(), 1, buffer.size(), stdout);
    std::fflush(stdout);
}

void kpDebugLog(String text) { kpPrint(text); }

void kpError(String message) {
    if (message.Length() == 0) std::exit(0);
    dbg_error(String::CString<char>(message));
}

void dbg_error(const char* message) {
    for (;;) {
        kpPrint(String("Brisko Runtime Error : ") + String(message));
        kpPrint(dbg_stacktrace());
        dbg_stop();
    }
}

String dbg_stacktrace() {
    if (!dbg_info || !*dbg_info) return String();
    return String(dbg_info) + String("\n");
}

void dbg_throw(const char* message) {
    dbg_exstack = dbg_stacktrace();
    throw message;
}

void dbg_print(String text) {
    static std::string buffer;
    buffer.assign(String::CString<char>(text));
    buffer.push_back('\n');
    std::fwrite(buffer.data(), 1, buffer.size(), stderr);
    std::fflush(stderr);
}

void dbg_stop() {
    std::fprintf(stderr, "{{~~%s~~}}\n", dbg_info ? dbg_info : "");
    dbg_print(String());
    char line[257];
    for (;;) {
        readCommand(line, sizeof line);
        switch (line[0]) {
            case '?':
                break;
            case '@':
                dbg_print(debugTextAt(line + 1));
                break;
            case 'e':
                dbg_suspend = 1;
                dbg_stepmode = 'e';
                return;
            case 'l':
                dbg_suspend = 0;
                dbg_stepmode = 'l';
                return;
            case 'q':
                std::exit(0);
            case 'r':
                dbg_suspend = 0;
                dbg_stepmode = 0;
                return;
            case 's':
                dbg_suspend = 1;
                dbg_stepmode = 's';
                return;
            default:
                std::printf("????? %s ?????", line);
                std::fflush(stdout);
                std::exit(-1);
        }
    }
}

int kpDebugStop() {
    dbg_stop();
    return 0;
}

void sighandler(int signal) {
    switch (signal) {
        case SIGSEGV:
            dbg_error("Memory access violation");
        case SIGILL:
            dbg_error("Illegal instruction");
        case SIGFPE:
            dbg_error("Floating point exception");
        default:
            dbg_error("Unknown signal");
    }
}
