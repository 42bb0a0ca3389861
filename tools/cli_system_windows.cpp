#include "cli_system.h"

namespace cli_system {

// Windows has no SIGPIPE and no manual pages: a write into a pipe whose reader has gone
// fails, and that is status 1.
const char* HelpEnd() {
    return "A pipe whose reader has gone ends it with status 1.";
}

}  // namespace cli_system
