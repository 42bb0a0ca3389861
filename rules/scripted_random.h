#pragma once

#include <cstddef>
#include <stdexcept>
#include <vector>

#include "random_source.h"

namespace rules {

class RandomExhausted : public std::runtime_error {
  public:
    RandomExhausted() : std::runtime_error("the scripted random numbers ran out") {}
};

// Returns the given numbers in order and ignores re-seeding; throws RandomExhausted when
// a draw is asked for past the end. For tests and tools that replay a decision; kept out
// of the game's own modules, which build where there are no exceptions (WebAssembly).
class ScriptedRandom final : public RandomSource {
  public:
    explicit ScriptedRandom(std::vector<double> numbers) : numbers_(std::move(numbers)) {}

    void Reseed() override {}
    double Next() override;
    std::size_t Draws() const { return next_; }

  private:
    std::vector<double> numbers_;
    std::size_t next_ = 0;
};

}  // namespace rules
