#pragma once

#include <span>
#include <string>

#include "game_state.h"

// What the screens show besides the game itself, for every frontend: each text the player
// reads, each control's place and size, its face and colour, the pointers and the pictures.
// The desktop's windows build themselves from it and the browser's page gets it from its
// module, so a text changed or a control moved here shows in both.
namespace screen {

// -- the face ------------------------------------------------------------------------
// Every text of the screens is in this face, bold; the sizes are in points (a page's pixel
// is three quarters of a point).
inline constexpr const char* Face = "DejaVu Sans";

// -- the pictures (assets/, as files beside a page and compiled into the program) --------
namespace picture {
inline constexpr const char* Board = "board.png";  // board@2x.png on sharp screens
inline constexpr const char* Tile = "tile.png";    // tile@2x.png likewise
inline constexpr const char* Hand = "hand.png";
inline constexpr const char* Hourglass = "hourglass.png";
inline constexpr const char* Banner = "banner.png";
inline constexpr const char* Start = "start.png";
inline constexpr const char* StartHover = "start-hover.png";
inline constexpr const char* Splash = "splash.png";
}  // namespace picture

// -- the windows and their controls -------------------------------------------------
enum class Control {
    // the splash
    Logo,
    LogoTitle,
    LogoAddress,
    // the game window
    Hra,
    LabelPlayer,  // label1(1): whose turn
    LabelRound,   // label1(0): the round
    Nah,
    Sav,
    Information,  // label2
    Kbod,
    Plocha,
    // the menu
    Nas,
    Frame1,
    Title,
    Info,
    Command2,
    Frame2,
    Jhra0,
    Jhra1,
    Banner,
    Obtt0,
    Obtt1,
    Pp3,
};

struct ControlContent {
    Control id;
    // The screens' own name of the control; a page's element has it as its id.
    const char* name;
    Control window;  // the window it stands in (a window: itself)
    // Place and size in twips (15 to a pixel), from its window's top-left corner.
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    // As big as its text, from its place: the size above is only where it starts.
    bool fitsText = false;
    double points = 0;        // its text's size; 0: it has no text of its own
    rules::Color colour = 0;  // its text's; 0: the toolkit's own (black on a button)
    const char* text = "";
    const char* tooltip = "";         // on the desktop
    const char* pageTooltip = "";     // in a browser, where the save is not a file
    const char* accessibleName = "";  // for a screen reader, where the control shows no words
    const char* picture = nullptr;    // what it shows (content.h's pictures)
    const char* hoverPicture = "";    // what it shows while the pointer is on it
};

// Every control, windows first, each window's controls after it.
std::span<const ControlContent> Controls();
const ControlContent& Content(Control control);

// Pixels from twips, as the classic screens rounded them.
constexpr int Pixels(int twips) {
    return twips / 15;
}

// -- the pointers --------------------------------------------------------------------
// A pointer as a picture with its hot spot, and the system's own shape nearest to it (the
// arrow has no picture).
struct PointerLook {
    const char* picture;  // nullptr: the system's arrow
    int hotX;
    int hotY;
    const char* shape;  // as a style sheet names it: "default", "pointer", "wait"
};
inline constexpr PointerLook ArrowPointer{nullptr, 0, 0, "default"};
inline constexpr PointerLook HandPointer{picture::Hand, 7, 7, "pointer"};
inline constexpr PointerLook HourglassPointer{picture::Hourglass, 0, 0, "wait"};

// -- the texts -----------------------------------------------------------------------
inline constexpr const char* GameTitle = "Morvel";  // the message boxes' caption
// The game window's caption. Three blanks: a page writes them as no-break spaces, which
// browsers do not fold.
inline constexpr const char* WindowTitle = "Morvel   tým Morvel, 2026";
inline constexpr const char* InformationText =
    "INFORMACE:\n"
    "Vyrobil: tým Morvel\n"
    "Autor: tým vývojářů hry Morvel, 2026\n"
    "Morvel je logická hra pro dva hráče na desce o 7 × 8 polích.\n"
    "Úkolem v této hře je abyste soupeřovy zabraly všechny body na ploše\n"
    "Přeji hodně zábavy";
inline constexpr const char* BoxOk = "OK";
// Where a browser's game has ended: a page cannot close its own window.
inline constexpr const char* EndedText =
    "Hra skončila. Novou hru spustíte tím, že stránku načtete znovu.";
inline constexpr const char* SaveFailed = "Hru se nepodařilo uložit. ";
inline constexpr const char* LoadFailed = "Hru se nepodařilo nahrát. ";

std::string RoundLabelText(int roundNumber);       // "3 kolo", written after every move
std::string StartRoundLabelText(int roundNumber);  // "1kolo", written by the menu
std::string PlayerLabelText(int player);           // "Hráč:2"
std::string GameOverText(int loser);               // "Konec hry hráč 1 prohrál"

}  // namespace screen
