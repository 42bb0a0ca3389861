#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Whole games between two players, headless, through the game's own turn cycle in the
// against-the-computer mode.
namespace arena {

enum class Player { Random, Low, High };

struct Options {
    Player p1 = Player::Random;
    Player p2 = Player::High;  // Low or High: it also sets the game's level
    int games = 100;
    std::uint64_t seed = 1;
    int moveCap = 5000;  // a longer game counts as unfinished
    bool check = false;  // check the board after every move
};

struct Result {
    int games = 0;
    int player1Wins = 0;
    int player2Wins = 0;
    int unfinished = 0;
    long long rounds = 0;  // summed over finished games
    // Set when a check after a move failed: what was wrong, in which game and move.
    std::optional<std::string> breach;
};

Result Play(const Options& options);

std::optional<Player> ParsePlayer(const std::string& name);

}  // namespace arena
