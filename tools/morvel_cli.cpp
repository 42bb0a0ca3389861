// morvel-cli: the game's own rules and computer players on the command line.
//
//   morvel-cli move --level low|high [--force-accept 0|1] [--random FILE] [--board FILE]
//     Plays one computer turn as player 2 on a board in the saved-game format and prints
//     the decision, so that any move of the game can be reproduced outside it.
//
//   morvel-cli arena --p1 random|low|high --p2 low|high --games N [--seed S] [--check]
//     Plays whole games headless and prints one line of results; --check verifies the
//     board after every move and fails on the first breach.

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ai_high.h"
#include "ai_low.h"
#include "arena.h"
#include "game_state.h"
#include "random_source.h"
#include "savegame.h"

namespace {

constexpr int BadInput = 2;
constexpr int RandomRanOut = 3;

constexpr int Breach = 4;

const char* const Usage =
    "usage: morvel-cli move --level low|high [--force-accept 0|1] [--random FILE] "
    "[--board FILE]\n"
    "       morvel-cli arena --p1 random|low|high --p2 low|high --games N [--seed S] "
    "[--check]\n";

struct UsageError {
    std::string message;
};

// Counts the draws of the game's own source.
class CountingRandom final : public rules::RandomSource {
  public:
    explicit CountingRandom(rules::RandomSource& inner) : inner_(inner) {}
    void Reseed() override { inner_.Reseed(); }
    double Next() override {
        ++draws_;
        return inner_.Next();
    }
    std::size_t Draws() const { return draws_; }

  private:
    rules::RandomSource& inner_;
    std::size_t draws_ = 0;
};

// Options with a value each; `flags` take none and are recorded with the value "1".
std::map<std::string, std::string> ParseOptions(const std::vector<std::string>& args,
                                                const std::vector<std::string>& known,
                                                const std::vector<std::string>& flags = {}) {
    std::map<std::string, std::string> options;
    for (std::size_t i = 0; i < args.size();) {
        const std::string& name = args[i++];
        if (options.count(name)) throw UsageError{"option " + name + " given twice"};
        if (std::find(flags.begin(), flags.end(), name) != flags.end()) {
            options.emplace(name, std::string(1, '1'));
            continue;
        }
        if (std::find(known.begin(), known.end(), name) == known.end())
            throw UsageError{"unknown option '" + name + "'"};
        if (i >= args.size()) throw UsageError{"option " + name + " needs a value"};
        options.emplace(name, args[i++]);
    }
    return options;
}

std::string ReadAll(std::istream& in) {
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadFile(const std::string& path, const char* what) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw UsageError{std::string("cannot read the ") + what + " file '" + path + "'"};
    return ReadAll(in);
}

std::vector<double> ParseRandomNumbers(const std::string& text) {
    std::vector<double> numbers;
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        std::istringstream field(line);
        double value = 0;
        std::string rest;
        if (!(field >> value) || (field >> rest) || !(value >= 0.0 && value < 1.0))
            throw UsageError{"random file line " + std::to_string(lineNumber) +
                             ": not a number in [0, 1)"};
        numbers.push_back(value);
    }
    return numbers;
}

int Move(const std::vector<std::string>& args) {
    const auto options = ParseOptions(args, {"--level", "--force-accept", "--random", "--board"});
    const auto level = options.find("--level");
    if (level == options.end() || (level->second != "low" && level->second != "high"))
        throw UsageError{"--level must be low or high"};
    const bool high = level->second == "high";
    int forceAccept = 0;
    if (auto it = options.find("--force-accept"); it != options.end()) {
        if (it->second != "0" && it->second != "1")
            throw UsageError{"--force-accept must be 0 or 1"};
        if (!high) throw UsageError{"--force-accept belongs to --level high"};
        forceAccept = it->second == "1" ? 1 : 0;
    }

    const auto boardFile = options.find("--board");
    const std::string boardText =
        boardFile == options.end() ? ReadAll(std::cin) : ReadFile(boardFile->second, "board");
    std::string why;
    const std::optional<rules::Board> board = savegame::ParseBoard(boardText, &why);
    if (!board) throw UsageError{"not a saved board: " + why};

    rules::GameState state;
    rules::StartNewGame(state);
    state.board = *board;
    state.GameMode = rules::AgainstComputer;
    state.Difficulty = high ? rules::HighDifficulty : rules::LowDifficulty;
    state.CurrentPlayer = 2;

    std::unique_ptr<rules::RandomSource> source;
    if (auto it = options.find("--random"); it != options.end()) {
        source = std::make_unique<rules::ScriptedRandom>(
            ParseRandomNumbers(ReadFile(it->second, "random")));
    } else {
        source = std::make_unique<rules::ClockMixedRandom>(
            rules::ClockMixedRandom::SteadyClockNanoseconds());
    }
    CountingRandom random(*source);

    ai_low::Module low;
    ai_high::Module highModule;
    highModule.ForceAccept = forceAccept;
    bool moved = false;
    try {
        moved = high ? ai_high::ComputerMoveHigh(highModule, state, random)
                     : ai_low::ComputerMoveLow(low, state, random);
    } catch (const rules::RandomExhausted&) {
        std::cerr << "morvel-cli: the turn needs more random numbers than the file holds ("
                  << random.Draws() - 1 << " given)\n";
        return RandomRanOut;
    }

    std::ostringstream out;
    if (moved)
        out << "move " << state.MoveColumn << ' ' << state.MoveRow << '\n';
    else
        out << "move none\n";
    if (high) out << "force-accept " << highModule.ForceAccept << '\n';
    out << "draws " << random.Draws() << '\n';
    out << savegame::FormatBoard(state.board);
    std::cout << out.str();
    return 0;
}

long long WholeNumber(const std::string& text, const std::string& option, long long least) {
    std::size_t used = 0;
    long long value = 0;
    try {
        value = std::stoll(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < least)
        throw UsageError{option + " must be a whole number of at least " + std::to_string(least)};
    return value;
}

int Arena(const std::vector<std::string>& args) {
    const auto options = ParseOptions(args, {"--p1", "--p2", "--games", "--seed"}, {"--check"});
    arena::Options run;
    auto player = [&](const char* name) -> std::optional<arena::Player> {
        const auto it = options.find(name);
        if (it == options.end()) return std::nullopt;
        return arena::ParsePlayer(it->second);
    };
    const std::optional<arena::Player> p1 = player("--p1");
    if (!p1.has_value()) throw UsageError{"--p1 must be random, low or high"};
    const std::optional<arena::Player> p2 = player("--p2");
    if (!p2.has_value() || p2.value() == arena::Player::Random)
        throw UsageError{"--p2 must be low or high"};
    if (!options.count("--games")) throw UsageError{"--games is needed"};
    run.p1 = *p1;
    run.p2 = *p2;
    run.games = static_cast<int>(WholeNumber(options.at("--games"), "--games", 1));
    if (options.count("--seed"))
        run.seed = static_cast<std::uint64_t>(WholeNumber(options.at("--seed"), "--seed", 0));
    else
        run.seed = rules::ClockMixedRandom::SteadyClockNanoseconds();
    run.check = options.count("--check") > 0;

    const auto started = std::chrono::steady_clock::now();
    const arena::Result result = arena::Play(run);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (result.breach) {
        std::cerr << "morvel-cli: the board broke its rules: " << *result.breach << '\n';
        return Breach;
    }
    const int finished = result.player1Wins + result.player2Wins;
    std::cout << "games " << result.games << ", player 1 wins " << result.player1Wins
              << ", player 2 wins " << result.player2Wins << ", unfinished " << result.unfinished
              << ", average rounds " << std::fixed << std::setprecision(1)
              << (finished ? static_cast<double>(result.rounds) / finished : 0.0)
              << ", games per second " << std::setprecision(0)
              << (seconds > 0 ? result.games / seconds : 0.0) << '\n';
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.empty()) throw UsageError{"no command given"};
        if (args[0] == "move") return Move({args.begin() + 1, args.end()});
        if (args[0] == "arena") return Arena({args.begin() + 1, args.end()});
        throw UsageError{"unknown command '" + args[0] + "'"};
    } catch (const UsageError& e) {
        std::cerr << "morvel-cli: " << e.message << '\n' << Usage;
        return BadInput;
    }
}
