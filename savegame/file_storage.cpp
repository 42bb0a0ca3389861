#include "file_storage.h"

namespace savegame {

// The file is written from the board, so that no text but a whole board's ever lands in
// it; the one it reads has been checked whole (and may come from a lost save's temporary
// file when hra.dat is damaged or gone).
play::SaveOutcome FileStorage::Save(const std::string& text) {
    play::SaveOutcome outcome;
    const std::optional<rules::Board> board = savegame::ParseBoard(text, &outcome.reason);
    outcome.saved = board && savegame::SaveGame(slot_, *board, &outcome.reason, &outcome.warning,
                                                &outcome.notice);
    return outcome;
}

play::LoadOutcome FileStorage::Load() {
    play::LoadOutcome outcome;
    if (const std::optional<rules::Board> board = savegame::LoadGame(slot_.file, &outcome.reason))
        outcome.text = savegame::FormatBoard(*board);
    return outcome;
}

}  // namespace savegame
