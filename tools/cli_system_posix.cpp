#include "cli_system.h"

namespace cli_system {

const char* HelpEnd() {
    return "A pipe whose reader has gone ends it quietly by SIGPIPE, as it does text filters.\n"
           "See morvel-cli(6).";
}

}  // namespace cli_system
