#include "random_source.h"

#include <chrono>

namespace rules {
namespace {

std::uint64_t Mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

}  // namespace

ClockMixedRandom::ClockMixedRandom(std::uint64_t seed, Clock clock)
    : state_(seed), clock_(std::move(clock)) {}

std::uint64_t ClockMixedRandom::SteadyClockNanoseconds() {
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

void ClockMixedRandom::Reseed() {
    state_ = Mix(state_ ^ Mix(clock_()));
}

double ClockMixedRandom::Next() {
    state_ += 0x9E3779B97F4A7C15ULL;
    return static_cast<double>(Mix(state_) >> 11) * 0x1.0p-53;
}

}  // namespace rules
