#include "host/program_folder.h"

#include <cstring>
#include <string>

#include "host/file_paths.h"
#include "runtime/system_text.h"

String ProgramFolder(const char* selfLink, const char* command) {
    std::string program = LinkTarget(selfLink);
    if (program.empty() && command && std::strchr(command, '/')) {
        program = command[0] == '/' ? command : CurrentFolder() + "/" + command;
    }
    return SystemText(program.empty() ? CurrentFolder() : FolderOf(program));
}
