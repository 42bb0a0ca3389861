#include "content.h"

#include <array>

#include "geometry.h"

namespace screen {
namespace {

constexpr rules::Color Green = rules::Rgb(0, 192, 0);
constexpr rules::Color White = rules::Rgb(255, 255, 255);

using C = Control;

// In the order of Control.
constexpr std::array<ControlContent, 23> Table{{
    // The splash's picture is drawn at its own size from the corner; its bottom rows fall
    // outside the window.
    {C::Logo, "logo", C::Logo, 0, 0, 3855, 3555, false, 0, 0, "logo", "", "", "", picture::Splash},
    {C::LogoTitle, "logo-title", C::Logo, 480, 1560, 3015, 1575, false, 12, White,
     "Morvel    Logická hra      Naprogramoval tým Morvel      © 2026"},
    {C::LogoAddress, "logo-address", C::Logo, 600, 2760, 3375, 255, false, 8.25,
     rules::Rgb(255, 255, 0), "www.morvel.example"},

    {C::Hra, "hra", C::Hra, 0, 0, 8730, 5925, false, 0, 0, WindowTitle},
    {C::LabelPlayer, "label-player", C::Hra, 0, 0, 465, 240, true, 9.75, Green},
    {C::LabelRound, "label-round", C::Hra, 0, 240, 480, 240, true, 9.75, Green},
    {C::Nah, "nah", C::Hra, 720, 840, 735, 255, false, 8.25, 0, "#L#",
     "Nahrát hru: rozestavění kamenů se načte ze souboru hra.dat",
     "Nahrát hru: rozestavění kamenů se načte z úložiště prohlížeče"},
    {C::Sav, "sav", C::Hra, 720, 1080, 735, 255, false, 8.25, 0, "#S#",
     "Uložit hru: rozestavění kamenů se zapíše do souboru hra.dat",
     "Uložit hru: rozestavění kamenů se zapíše do úložiště prohlížeče"},
    {C::Information, "information", C::Hra, 2520, 1800, 840, 195, true, 8.25, rules::Rgb(0, 255, 0),
     InformationText},
    // The board and its balance bar: their places follow the screen (geometry.h).
    {C::Kbod, "kbod", C::Hra, 3360, 1680, 4575, 135, false, 0, 0, "", "", "",
     "Poměr kamenů obou hráčů"},
    {C::Plocha, "plocha", C::Hra, 3360, 1800, BoardWidthTwips, BoardHeightTwips, false, 0, 0, "",
     "", "", "Hrací plocha"},

    {C::Nas, "nas", C::Nas, 0, 0, 4755, 3195, false, 0, 0, "Form1"},
    {C::Frame1, "frame1", C::Nas, 0, 0, 4695, 3135},
    {C::Title, "title", C::Nas, 1680, 120, 1215, 375, true, 12, rules::Rgb(0, 0, 192),
     "Morvel V1.3"},
    {C::Info, "info", C::Nas, 4200, 120, 255, 255, false, 8.25, 0, "?", "", "", "Informace o hře"},
    {C::Command2, "command2", C::Nas, 4440, 120, 255, 255, false, 8.25, 0, "X", "", "",
     "Konec hry"},
    {C::Frame2, "frame2", C::Nas, 120, 360, 3015, 855},
    {C::Jhra0, "jhra0", C::Nas, 120, 600, 1815, 255, false, 8.25, White, "Hra dvou hráčů"},
    {C::Jhra1, "jhra1", C::Nas, 120, 840, 2655, 255, false, 8.25, White, "Hra hráč proti počítači"},
    {C::Banner, "banner", C::Nas, 120, 1080, 4485, 1095, false, 0, 0, "", "", "", "",
     picture::Banner},
    {C::Obtt0, "obtt0", C::Nas, 120, 2160, 2535, 255, false, 8.25, White, "Obtížnost malá"},
    {C::Obtt1, "obtt1", C::Nas, 120, 2400, 2535, 255, false, 8.25, White, "Obtížnost velká"},
    {C::Pp3, "pp3", C::Nas, 3840, 2640, 660, 390, false, 0, 0, "", "", "", "Spustit hru",
     picture::Start, picture::StartHover},
}};

constexpr bool InOrder() {
    for (std::size_t i = 0; i < Table.size(); ++i)
        if (static_cast<std::size_t>(Table[i].id) != i) return false;
    return Table.size() == static_cast<std::size_t>(C::Pp3) + 1;
}
static_assert(InOrder(), "one row per control, in the order of Control");

}  // namespace

std::span<const ControlContent> Controls() {
    return Table;
}

const ControlContent& Content(Control control) {
    return Table[static_cast<std::size_t>(control)];
}

std::string RoundLabelText(int roundNumber) {
    return std::to_string(roundNumber) + " kolo";
}

std::string StartRoundLabelText(int roundNumber) {
    return std::to_string(roundNumber) + "kolo";
}

std::string PlayerLabelText(int player) {
    return "Hráč:" + std::to_string(player);
}

std::string GameOverText(int loser) {
    return "Konec hry hráč " + std::to_string(loser) + " prohrál";
}

}  // namespace screen
