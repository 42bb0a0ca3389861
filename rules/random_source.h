#pragma once

#include <cstdint>
#include <functional>

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

}  // namespace rules
