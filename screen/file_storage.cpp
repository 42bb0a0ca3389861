#include "file_storage.h"

namespace screen {

play::SaveOutcome FileStorage::Save(const rules::Board& board) {
    play::SaveOutcome outcome;
    outcome.saved =
        savegame::SaveGame(slot_, board, &outcome.reason, &outcome.warning, &outcome.notice);
    return outcome;
}

play::LoadOutcome FileStorage::Load() {
    play::LoadOutcome outcome;
    outcome.board = savegame::LoadGame(slot_.file, &outcome.reason);
    return outcome;
}

}  // namespace screen
