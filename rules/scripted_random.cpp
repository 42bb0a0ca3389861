#include "scripted_random.h"

namespace rules {

double ScriptedRandom::Next() {
    if (next_ >= numbers_.size()) throw RandomExhausted();
    return numbers_[next_++];
}

}  // namespace rules
