// libFuzzer target for the saved-game reader: whatever bytes hra.dat holds, the reader
// either refuses them with a reason or yields a board within the rules that saves and
// reads back unchanged.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "savegame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const std::optional<rules::Board> board = savegame::ParseBoard(text, &error);
    if (!board) {
        if (error.empty()) std::abort();
        return 0;
    }
    for (int row = 0; row <= rules::Board::LastFrameRow; ++row) {
        for (int column = 0; column <= rules::Board::LastFrameColumn; ++column) {
            const int owner = board->Owner(column, row);
            const int count = board->Count(column, row);
            if (owner < 0 || owner > 2 || count < 0 || count > 4) std::abort();
            if (!rules::IsPlayable(column, row) && (owner != 0 || count != 0)) std::abort();
        }
    }
    const std::optional<rules::Board> again = savegame::ParseBoard(savegame::FormatBoard(*board));
    if (!again || !(*again == *board)) std::abort();
    return 0;
}
