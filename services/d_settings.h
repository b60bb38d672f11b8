#pragma once
// The settings file "tobbin.ini" in the settings folder: the player's choices
// carried from one run to the next. Read once at start-up, written once when
// the main window closes. Neither ever stops the program: a missing or bad
// file gives the built-in values, and a failed write is only reported.

#include "services/d_folders.h"
#include "services/d_sound.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tb {

// ---- Colours ----

// The system colours, which the window takes from its current style.
enum class TSystemColour : std::uint8_t {
    ScrollBar,
    Background,
    ActiveCaption,
    InactiveCaption,
    Menu,
    Window,
    WindowFrame,
    MenuText,
    WindowText,
    CaptionText,
    ActiveBorder,
    InactiveBorder,
    AppWorkSpace,
    Highlight,
    HighlightText,
    BtnFace,
    BtnShadow,
    GrayText,
    BtnText,
    InactiveCaptionText,
    BtnHighlight,
    DkShadow3D,
    Light3D,
    InfoText,
    InfoBk,
    HotLight,
    GradientActiveCaption,
    GradientInactiveCaption,
    MenuHighlight,
    MenuBar,
};

// A colour of the settings file: a named colour ("Yellow", 0xFFFF00), a
// system colour ("Menu"), or a plain number written "$00BBGGRR" (blue in the
// high byte, as the file has always kept numbers).
struct TColour {
    std::string Name;      // as the file holds it: the identifier without "cl", or the number
    bool System = false;   // a system colour: Role tells which
    TSystemColour Role{};  // when System
    std::uint32_t Rgb = 0; // 0xRRGGBB when not System

    bool operator==(const TColour&) const = default;
};

// Reads a colour: a known identifier (letter case ignored, with or without its
// "cl" prefix), or a number 0..0xFFFFFF in decimal or as "$" and hexadecimal
// digits (blue in the high byte). Anything else answers false and leaves
// `colour` unchanged.
bool ColourFromText(std::string_view text, TColour& colour);
// A known identifier; throws std::invalid_argument for any other.
TColour NamedColour(std::string_view name);
// Every named colour and system colour identifier, without "cl".
std::vector<std::string_view> ColourNames();

// ---- Screen ----

// The screen class of a screen size: 5 for 1600x1200 and more, 4 for
// 1280x1024, 3 for 1024x768, 1 below 800x600, else 2. Tile size k is offered
// only from class k on.
std::uint8_t ScreenClass(int width, int height);

// ---- The settings record ----

// The six pictures of a skin.
enum class TSkinPicture : std::uint8_t { Splash, Box, List, Panel, Picture, Finish };
inline constexpr int SkinPictureCount = 6;
// "tb_spl", "tb_box", "tb_list", "tb_pan", "tb_pic", "tb_fin".
std::string_view SkinPictureBaseName(TSkinPicture picture);

struct TSettings {
    // [Sound]
    bool SoundOn = true;           // On: the sound bank's switch
    std::string Waves = "Classic"; // the current sound set
    bool SoundRandom = true;       // Random: shuffle the sound set at each new level
    // [Graphics]
    bool Jpeg = true;               // JPEG: skin pictures are ".jpg" instead of ".bmp"
    std::string Skin = "Standard";  // the current skin
    std::string Sprites = "Apples"; // the current sprite set
    bool SpritesRandom = true;      // Random: shuffle the sprite set at each new level
    std::uint8_t Size = 0;          // tile size 1..4; 0: chosen from the screen class
    bool Backgrounds = true;        // windows show skin pictures
    // [Global]
    std::string Language = "English";
    std::uint16_t FontSize = 9; // Fontsize, 7..12
    bool CustomMenu = true;
    bool BoldFont = false;
    bool Frugal = false; // 40 step-back and 4 snapshot states instead of 200 and 20
    // [Game]
    std::string Player;
    std::string Game;
    std::int32_t Level = 1;
    // [Speed]
    std::uint16_t Speed = 3; // 1 Slow, 2 Normal, 3 Fast, 4 Booster
    std::uint16_t Slow = 180;
    std::uint16_t Normal = 120;
    std::uint16_t Fast = 60;
    std::uint16_t Booster = 10;
    std::uint16_t Multi = 40; // base of the minimum gap between two sound effects
    // [Colors]: until the file is read, the system colours of menus.
    TColour Menu = NamedColour("Menu");
    TColour MenuSel = NamedColour("Highlight");
    TColour MenuFont = NamedColour("MenuText");
    TColour MenuSelFont = NamedColour("HighlightText");
    TColour List = NamedColour("Yellow");
    TColour ListFont = NamedColour("Maroon");
    TColour Grid = NamedColour("Navy");
    TColour GridFont = NamedColour("Aqua");

    // Kept by the shell, never in the file.
    std::string FontName;                      // the interface font; empty when none is installed
    std::string FixedFontName = "Courier New"; // the fixed-pitch font
    std::array<std::string, SkinPictureCount> SkinPictures = {
        "tb_spl.jpg", "tb_box.jpg", "tb_list.jpg", "tb_pan.jpg", "tb_pic.jpg", "tb_fin.jpg"};
    std::uint8_t ScreenClassNumber = 2;
    std::chrono::steady_clock::time_point StartTime{}; // when the about box appeared
    bool WriteFailureReported = false;                 // a failed write is reported once

    const std::string& SkinPictureName(TSkinPicture picture) const {
        return SkinPictures[static_cast<std::size_t>(picture)];
    }
};

// The settings of this run.
TSettings& Settings();

// The step delays by speed, as the game's timing takes them: entry 0 is Multi,
// entries 1..4 the delays of Slow, Normal, Fast and Booster.
std::array<std::uint16_t, 5> SpeedTable(const TSettings& settings);
// The step delay of a speed 1..4 (out of range: std::out_of_range).
std::uint16_t StepDelay(const TSettings& settings, int speed);
// The minimum gap between two sound effects at a speed: step delay div 4 +
// Multi, or 0 when the step delay is 0.
int SoundGap(const TSettings& settings, int speed);

// The first name of `names` that `installed` holds (letter case ignored), or
// an empty text.
std::string FirstInstalledFont(const std::vector<std::string>& names,
                               const std::vector<std::string>& installed);
// "Verdana", "Tahoma", "Trebuchet MS", "Arial".
const std::vector<std::string>& InterfaceFontChoices();

// What reading the settings needs from the window system.
struct TSettingsEnvironment {
    int ScreenWidth = 1024;
    int ScreenHeight = 768;
    int ColourDepth = 32;                    // bits per pixel
    std::vector<std::string> InstalledFonts; // the system's font families
    // Shows the about box as the start-up splash; it gets the interface font.
    std::function<void(const TSettings&)> ShowAboutBox;
    TSoundBank* Sounds = nullptr; // the bank that loads the sound set; empty: SoundBank()
    // The run's folders: the settings file and the sound sets. A
    // ProgramFolder left empty reads the current folder's layout.
    TFolders Folders;
};

// SettingsFolder / "tobbin.ini".
std::filesystem::path SettingsFileName(const TFolders& folders);

// Reads the settings file into `settings`, in the order of the start-up: the
// folders and the screen class, Sound (the sound bank's switch and set are
// set), the interface font, the about box, Graphics, Global, Game, Speed,
// Colors. Never throws.
void ReadSettings(TSettings& settings, const TSettingsEnvironment& environment);

struct TSettingsWrite {
    bool Written = false;
    // Why writing failed, for the player; filled only for the first failure
    // of the run, so that it is reported once.
    std::string Report;
};

// Writes the settings file of `folders`: the Game section is erased, then Global, Graphics,
// Colors, Game (Game and Level only when `gameOpen`), Speed and Sound are
// written; JPEG, Backgrounds, Frugal and any other key stay as the file has
// them. The caller first puts the current language, player, speed and sound
// switch into the record. The file is replaced through a temporary file and
// a rename. Never throws.
TSettingsWrite WriteSettings(const TFolders& folders, TSettings& settings, bool gameOpen);

} // namespace tb
