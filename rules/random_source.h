#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <vector>

namespace rules {

// Where the computer players get their random numbers: re-seeded from the clock before
// every random pick, then drawn uniformly from [0, 1).
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual void Reseed() = 0;
    virtual double Next() = 0;
};

// The game's source. Re-seeding mixes the clock into the running state instead of
// replacing it, so two re-seeds within one clock tick never restart the same sequence
// (a pick that keeps landing on the opponent's cell would otherwise repeat for ever).
class ClockMixedRandom final : public RandomSource {
  public:
    using Clock = std::function<std::uint64_t()>;
    explicit ClockMixedRandom(std::uint64_t seed = 0, Clock clock = SteadyClockNanoseconds);

    void Reseed() override;
    double Next() override;

    static std::uint64_t SteadyClockNanoseconds();

  private:
    std::uint64_t state_;
    Clock clock_;
};

class RandomExhausted : public std::runtime_error {
  public:
    RandomExhausted() : std::runtime_error("the scripted random numbers ran out") {}
};

// Returns the given numbers in order and ignores re-seeding; throws RandomExhausted when
// a draw is asked for past the end. For tests and tools that replay a decision.
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
