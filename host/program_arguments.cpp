#include "host/program_arguments.h"

int argc;
char** argv;
