#include "players.h"

namespace players {

Computer& Computers::At(rules::Level level) {
    switch (level) {
        case rules::Level::Low:
            return low_;
        case rules::Level::High:
            return high_;
    }
    return low_;
}

}  // namespace players
