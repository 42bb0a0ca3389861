// morvel-cli: the game's own rules and computer players on the command line.
//
//   morvel-cli move --level low|high [--force-accept 0|1] [--random FILE] [--board FILE]
//     Plays one computer turn as player 2 on a board in the saved-game format and prints
//     the decision, so that any move of the game can be reproduced outside it.
//
//   morvel-cli arena --p1 random|low|high --p2 low|high --games N [--seed S] [--check]
//     Plays whole games headless and prints one line of results; --check verifies the
//     board after every move and fails on the first breach.
//
//   morvel-cli geometry --screen WxH
//     Prints where the game window puts its board on such a screen and the cell table, so
//     that whatever drives the real program clicks where the program itself looks.

#include <CLI/CLI.hpp>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <climits>
#include <cstring>
#include <iomanip>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "arena.h"
#include "cli_system.h"
#include "game_state.h"
#include "geometry.h"
#include "players.h"
#include "random_source.h"
#include "savegame.h"
#include "scripted_random.h"
#include "system.h"

namespace {

constexpr int WriteFailed = 1;
constexpr int BadInput = 2;
constexpr int RandomRanOut = 3;

constexpr int Breach = 4;

// A board file is read up to the size the game itself reads (a saved game is 560 bytes),
// a random file up to 1 MiB (some 60 000 numbers, far more than any turn draws): a larger
// file, or an endless one such as /dev/zero, is refused unread.
constexpr std::size_t MaxRandomFileSize = 1 << 20;

const char* const Usage =
    "usage: morvel-cli move --level low|high [--force-accept 0|1] [--random FILE] "
    "[--board FILE]\n"
    "       morvel-cli arena --p1 random|low|high --p2 low|high --games N [--seed S] "
    "[--check]\n"
    "       morvel-cli geometry --screen WxH\n";

const char* const Footer =
    "Exit status: 0 done, 1 standard output could not be written, 2 bad arguments or input\n"
    "(nothing is printed on standard output), 3 the --random file ran out, 4 the arena's\n"
    "--check found a board that broke the rules.\n";

// Bad arguments: said with the usage. Bad input: said in one line. Both exit 2.
struct UsageError {
    std::string message;
};
struct InputError {
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

// The whole of `path`, or of standard input without one, up to `limit` bytes.
std::string ReadInput(const std::optional<std::string>& path, const char* what, std::size_t limit) {
    const std::string name =
        std::string(what) + (path ? " file '" + *path + "'" : " (standard input)");
    namespace sys = savegame::sys;
    sys::Handle handle = sys::StandardInput();
    // The name is UTF-8 on every system; on Windows one that is not cannot name a file.
    if (path) {
        std::filesystem::path file;
        try {
            file = std::filesystem::path(std::u8string(path->begin(), path->end()));
        } catch (const std::exception&) {
            throw InputError{"the " + name + " has a name that is not UTF-8"};
        }
        if (const sys::Error failed = sys::OpenToRead(file, &handle, true))
            throw InputError{"cannot open the " + name + ": " + sys::SystemMessage(failed)};
    }
    std::string text;
    const int failure = savegame::ReadAtMost(handle, limit, text);
    if (path) sys::Close(handle);
    if (failure == sys::TooLarge)
        throw InputError{"the " + name + " is larger than " + std::to_string(limit) + " bytes"};
    if (failure != 0)
        throw InputError{"cannot read the " + name + ": " + sys::SystemMessage(failure)};
    return text;
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
            throw InputError{"random file line " + std::to_string(lineNumber) +
                             ": not a number in [0, 1)"};
        numbers.push_back(value);
    }
    return numbers;
}

struct MoveOptions {
    std::string level;
    std::optional<std::string> forceAccept, randomFile, boardFile;
};

int Move(const MoveOptions& options) {
    const bool high = options.level == "high";
    int forceAccept = 0;
    if (options.forceAccept) {
        if (!high) throw UsageError{"--force-accept belongs to --level high"};
        forceAccept = *options.forceAccept == "1" ? 1 : 0;
    }

    const std::string boardText = ReadInput(options.boardFile, "board", savegame::MaxFileSize);
    std::string why;
    const std::optional<rules::Board> board = savegame::ParseBoard(boardText, &why);
    if (!board) throw InputError{"not a saved board: " + why};

    rules::GameState state;
    rules::StartNewGame(state);
    state.board = *board;
    state.GameMode = rules::AgainstComputer;
    state.Difficulty = high ? rules::HighDifficulty : rules::LowDifficulty;
    state.CurrentPlayer = 2;

    std::unique_ptr<rules::RandomSource> source;
    if (options.randomFile) {
        source = std::make_unique<rules::ScriptedRandom>(
            ParseRandomNumbers(ReadInput(options.randomFile, "random", MaxRandomFileSize)));
    } else {
        source = std::make_unique<rules::ClockMixedRandom>(
            rules::ClockMixedRandom::SteadyClockNanoseconds());
    }
    CountingRandom random(*source);

    players::Computers computers;
    computers.HighTables().ForceAccept = forceAccept;
    bool moved = false;
    try {
        moved = rules::TakeTurn(state, computers.At(state.Difficulty).Choose(state, random)).moved;
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
    if (high) out << "force-accept " << computers.HighTables().ForceAccept << '\n';
    out << "draws " << random.Draws() << '\n';
    out << savegame::FormatBoard(state.board);
    std::cout << out.str();
    return 0;
}

// A whole number from `least` to `most`, written in decimal digits and nothing else.
template <typename Number>
Number WholeNumber(const std::string& text, const std::string& option, Number least, Number most) {
    Number value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < least || value > most)
        throw UsageError{option + " must be a whole number from " + std::to_string(least) + " to " +
                         std::to_string(most)};
    return value;
}

struct ArenaOptions {
    std::string p1, p2, games;
    std::optional<std::string> seed;
    bool check = false;
};

int Arena(const ArenaOptions& options) {
    arena::Options run;
    run.p1 = *arena::ParsePlayer(options.p1);
    run.p2 = *arena::ParsePlayer(options.p2);
    run.games = WholeNumber(options.games, "--games", 1, INT_MAX);
    if (options.seed) {
        run.seed = WholeNumber<std::uint64_t>(*options.seed, "--seed", 0, UINT64_MAX);
    } else {
        run.seed = rules::ClockMixedRandom::SteadyClockNanoseconds();
        // So that a run that fails its --check can be played again.
        std::cerr << "morvel-cli: seed " << run.seed << '\n';
    }
    run.check = options.check;

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

int Geometry(const std::string& screenSize) {
    const std::size_t x = screenSize.find('x');
    if (x == std::string::npos) throw UsageError{"--screen must be WIDTHxHEIGHT"};
    const int width = WholeNumber(screenSize.substr(0, x), "the screen's width", 1, 100000);
    const int height = WholeNumber(screenSize.substr(x + 1), "the screen's height", 1, 100000);
    const screen::PixelPoint board = screen::BoardPlace(width, height);
    screen::CellRectTable cells{};
    screen::InitCellGeometry(cells);
    std::cout << "board " << board.x << ' ' << board.y << '\n';
    for (int n = 1; n <= screen::CellCount; ++n) {
        const screen::CellBounds& r = cells[n];
        std::cout << "cell " << n << ' ' << r.x1 << ' ' << r.y1 << ' ' << r.x2 << ' ' << r.y2
                  << '\n';
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"The rules and computer players of Morvel on the command line.", "morvel-cli"};
    app.footer(std::string(Footer) + cli_system::HelpEnd());
    app.set_version_flag("--version", "morvel-cli " MORVEL_VERSION);
    app.require_subcommand(1);

    MoveOptions move;
    CLI::App* moveCommand = app.add_subcommand(
        "move", "Play one computer turn as player 2 on a board in the hra.dat format.");
    moveCommand->add_option("--level", move.level, "the computer player")
        ->required()
        ->check(CLI::IsMember({"low", "high"}));
    moveCommand
        ->add_option("--force-accept", move.forceAccept,
                     "the high level's ForceAccept left from an earlier turn")
        ->check(CLI::IsMember({"0", "1"}));
    moveCommand->add_option("--random", move.randomFile,
                            "random numbers in [0, 1), one a line, at most 1 MiB (default: the "
                            "clock)");
    moveCommand->add_option("--board", move.boardFile,
                            "the board, at most 64 KiB (default: standard input)");

    ArenaOptions arenaRun;
    CLI::App* arenaCommand =
        app.add_subcommand("arena", "Play whole games headless and print one line of results.");
    arenaCommand->add_option("--p1", arenaRun.p1, "player 1")
        ->required()
        ->check(CLI::IsMember({"random", "low", "high"}));
    arenaCommand->add_option("--p2", arenaRun.p2, "player 2, the computer")
        ->required()
        ->check(CLI::IsMember({"low", "high"}));
    arenaCommand->add_option("--games", arenaRun.games, "how many games")->required();
    arenaCommand->add_option("--seed", arenaRun.seed, "seed of the random numbers");
    arenaCommand->add_flag("--check", arenaRun.check,
                           "verify the board after every move; exit 4 on a breach");

    std::string screenSize;
    CLI::App* geometryCommand = app.add_subcommand(
        "geometry",
        "Print the board's place in the game window (pixels) and the cell table (twips).");
    geometryCommand->add_option("--screen", screenSize, "the screen's available area, WxH")
        ->required();

    int status = 0;
    try {
        app.parse(argc, argv);
        status = moveCommand->parsed()       ? Move(move)
                 : geometryCommand->parsed() ? Geometry(screenSize)
                                             : Arena(arenaRun);
    } catch (const CLI::Success& e) {  // --help, --version
        status = app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "morvel-cli: " << e.what() << '\n' << Usage;
        return BadInput;
    } catch (const UsageError& e) {
        std::cerr << "morvel-cli: " << e.message << '\n' << Usage;
        return BadInput;
    } catch (const InputError& e) {
        std::cerr << "morvel-cli: " << e.message << '\n';
        return BadInput;
    }
    // A full disk or a closed pipe must not pass for a result.
    errno = 0;
    if (!std::cout.flush()) {
        std::cerr << "morvel-cli: cannot write to standard output"
                  << (errno ? std::string(": ") + std::strerror(errno) : std::string()) << '\n';
        return WriteFailed;
    }
    return status;
}
