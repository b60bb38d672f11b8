#include "services/d_settings.h"

#include "services/d_file.h"
#include "services/d_folders.h"
#include "services/d_inifile.h"
#include "services/d_string.h"

#include <cstdio>
#include <limits>
#include <stdexcept>
#include <system_error>

namespace tb {
namespace fs = std::filesystem;

// ---- Colours ----

namespace {

struct TNamedColour {
    std::string_view Name;
    std::uint32_t Rgb;
};

constexpr TNamedColour NamedColours[] = {
    {"Black", 0x000000},  {"Maroon", 0x800000},  {"Green", 0x008000},      {"Olive", 0x808000},
    {"Navy", 0x000080},   {"Purple", 0x800080},  {"Teal", 0x008080},       {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0xFF0000},     {"Lime", 0x00FF00},       {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF},       {"LtGray", 0xC0C0C0},
    {"DkGray", 0x808080}, {"White", 0xFFFFFF},   {"MoneyGreen", 0xC0DCC0}, {"SkyBlue", 0xA6CAF0},
    {"Cream", 0xFFFBF0},  {"MedGray", 0xA0A0A4},
};

// In the order of TSystemColour.
constexpr std::string_view SystemColourNames[] = {
    "ScrollBar",
    "Background",
    "ActiveCaption",
    "InactiveCaption",
    "Menu",
    "Window",
    "WindowFrame",
    "MenuText",
    "WindowText",
    "CaptionText",
    "ActiveBorder",
    "InactiveBorder",
    "AppWorkSpace",
    "Highlight",
    "HighlightText",
    "BtnFace",
    "BtnShadow",
    "GrayText",
    "BtnText",
    "InactiveCaptionText",
    "BtnHighlight",
    "3DDkShadow",
    "3DLight",
    "InfoText",
    "InfoBk",
    "HotLight",
    "GradientActiveCaption",
    "GradientInactiveCaption",
    "MenuHighlight",
    "MenuBar",
};
static_assert(std::size(SystemColourNames) == static_cast<std::size_t>(TSystemColour::MenuBar) + 1);

std::string NumberName(std::uint32_t rgb) {
    // Blue in the high byte, as the numbers in the file have always been kept.
    const std::uint32_t bgr = (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
    char text[16];
    std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(bgr));
    return text;
}

bool ParseColourNumber(std::string_view text, std::uint32_t& rgb) {
    long long value = -1;
    if (!text.empty() && text[0] == '$') {
        text.remove_prefix(1);
        if (text.empty() || text.size() > 8) return false;
        value = 0;
        for (char c : text) {
            int digit = 0;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                return false;
            value = value * 16 + digit;
        }
    } else if (!ParseInt(text, value)) {
        return false;
    }
    if (value < 0 || value > 0xFFFFFF) return false;
    const auto bgr = static_cast<std::uint32_t>(value);
    rgb = (bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF);
    return true;
}

} // namespace

bool ColourFromText(std::string_view text, TColour& colour) {
    const std::string trimmed = Trim(text);
    std::string_view name = trimmed;
    if (name.size() > 2 && CompareNoCase(name.substr(0, 2), "cl") == 0) name.remove_prefix(2);
    for (const TNamedColour& named : NamedColours) {
        if (CompareNoCase(named.Name, name) == 0) {
            colour = TColour{std::string(named.Name), false, TSystemColour{}, named.Rgb};
            return true;
        }
    }
    for (std::size_t i = 0; i < std::size(SystemColourNames); ++i) {
        if (CompareNoCase(SystemColourNames[i], name) == 0) {
            colour =
                TColour{std::string(SystemColourNames[i]), true, static_cast<TSystemColour>(i), 0};
            return true;
        }
    }
    std::uint32_t rgb = 0;
    if (!ParseColourNumber(trimmed, rgb)) return false;
    colour = TColour{NumberName(rgb), false, TSystemColour{}, rgb};
    return true;
}

TColour NamedColour(std::string_view name) {
    TColour colour;
    if (!ColourFromText(name, colour) || colour.Name != name)
        throw std::invalid_argument("not a colour name: " + std::string(name));
    return colour;
}

std::vector<std::string_view> ColourNames() {
    std::vector<std::string_view> names;
    for (const TNamedColour& named : NamedColours)
        names.push_back(named.Name);
    for (std::string_view name : SystemColourNames)
        names.push_back(name);
    return names;
}

// ---- Screen, speeds, fonts ----

std::uint8_t ScreenClass(int width, int height) {
    if (width >= 1600 && height >= 1200) return 5;
    if (width >= 1280 && height >= 1024) return 4;
    if (width >= 1024 && height >= 768) return 3;
    if (width < 800 || height < 600) return 1;
    return 2;
}

std::string_view SkinPictureBaseName(TSkinPicture picture) {
    static constexpr std::string_view names[SkinPictureCount] = {"tb_spl", "tb_box", "tb_list",
                                                                 "tb_pan", "tb_pic", "tb_fin"};
    return names[static_cast<std::size_t>(picture)];
}

TSettings& Settings() {
    static TSettings settings;
    return settings;
}

std::array<std::uint16_t, 5> SpeedTable(const TSettings& s) {
    return {s.Multi, s.Slow, s.Normal, s.Fast, s.Booster};
}

std::uint16_t StepDelay(const TSettings& settings, int speed) {
    if (speed < 1 || speed > 4) throw std::out_of_range("speed " + std::to_string(speed));
    return SpeedTable(settings)[static_cast<std::size_t>(speed)];
}

int SoundGap(const TSettings& settings, int speed) {
    const int delay = StepDelay(settings, speed);
    return delay == 0 ? 0 : delay / 4 + settings.Multi;
}

std::string FirstInstalledFont(const std::vector<std::string>& names,
                               const std::vector<std::string>& installed) {
    for (const std::string& name : names)
        for (const std::string& font : installed)
            if (CompareNoCase(name, font) == 0) return name;
    return {};
}

const std::vector<std::string>& InterfaceFontChoices() {
    static const std::vector<std::string> fonts = {"Verdana", "Tahoma", "Trebuchet MS", "Arial"};
    return fonts;
}

// ---- Reading ----

fs::path SettingsFileName(const TFolders& folders) {
    return folders.SettingsFolder / "tobbin.ini";
}

namespace {

// A number of the file that must fit its field; one that does not keeps the default.
template <typename T>
T ReadNumber(const TIniFile& ini, std::string_view section, std::string_view key, T fallback) {
    const long long value = ini.ReadInteger(section, key, fallback);
    if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max())
        return fallback;
    return static_cast<T>(value);
}

void ReadColour(const TIniFile& ini, std::string_view key, std::string_view fallback,
                TColour& colour) {
    ColourFromText(ini.ReadString("Colors", key, fallback), colour);
}

void SetSkinPictureNames(TSettings& s) {
    const std::string extension = s.Jpeg ? ".jpg" : ".bmp";
    for (int i = 0; i < SkinPictureCount; ++i)
        s.SkinPictures[static_cast<std::size_t>(i)] =
            std::string(SkinPictureBaseName(static_cast<TSkinPicture>(i))) + extension;
}

void ReadFromFile(TSettings& s, const TSettingsEnvironment& env, const TFolders& folders) {
    // The screen class.
    s.ScreenClassNumber = ScreenClass(env.ScreenWidth, env.ScreenHeight);
    const bool manyColours = env.ColourDepth > 8;

    TIniFile ini;
    ini.Load(SettingsFileName(folders)); // a missing or unreadable file reads as all keys missing

    TSoundBank& bank = env.Sounds ? *env.Sounds : SoundBank();
    s.SoundOn = ini.ReadBool("Sound", "On", true);
    bank.SoundOn = s.SoundOn;
    s.Waves = ini.ReadString("Sound", "Waves", "Classic");
    bank.LoadSoundSet(FindContent(folders, folders.SoundsFolder, s.Waves));
    s.SoundRandom = ini.ReadBool("Sound", "Random", true);

    s.FontName = FirstInstalledFont(InterfaceFontChoices(), env.InstalledFonts);
    s.StartTime = std::chrono::steady_clock::now();
    if (env.ShowAboutBox) env.ShowAboutBox(s);

    s.Jpeg = ini.ReadBool("Graphics", "JPEG", manyColours);
    SetSkinPictureNames(s);
    s.Skin = ini.ReadString("Graphics", "Skin", "Standard");
    s.Sprites = ini.ReadString("Graphics", "Sprites", "Apples");
    s.SpritesRandom = ini.ReadBool("Graphics", "Random", true);
    const long long size = ini.ReadInteger("Graphics", "Size", 0);
    s.Size = static_cast<std::uint8_t>(size < 0 ? 0 : size > 4 ? 4 : size);

    s.Language = ini.ReadString("Global", "Language", "English");
    const long long fontSize = ini.ReadInteger("Global", "Fontsize", 9);
    s.FontSize = static_cast<std::uint16_t>(fontSize > 12 ? 12 : fontSize < 7 ? 7 : fontSize);
    s.CustomMenu = ini.ReadBool("Global", "CustomMenu", true);
    s.BoldFont = ini.ReadBool("Global", "BoldFont", false);
    s.Frugal = ini.ReadBool("Global", "Frugal", false);

    s.Player = ini.ReadString("Game", "Player", "");
    s.Game = ini.ReadString("Game", "Game", "");
    s.Level = ReadNumber<std::int32_t>(ini, "Game", "Level", 1);
    s.Backgrounds = ini.ReadBool("Graphics", "Backgrounds", manyColours);
    s.Speed = ReadNumber<std::uint16_t>(ini, "Speed", "Speed", 3);
    if (s.Speed < 1 || s.Speed > 4) s.Speed = 3; // the speeds are 1 to 4
    s.Slow = ReadNumber<std::uint16_t>(ini, "Speed", "Slow", 180);
    s.Normal = ReadNumber<std::uint16_t>(ini, "Speed", "Normal", 120);
    s.Fast = ReadNumber<std::uint16_t>(ini, "Speed", "Fast", 60);
    s.Booster = ReadNumber<std::uint16_t>(ini, "Speed", "Booster", 10);
    s.Multi = ReadNumber<std::uint16_t>(ini, "Speed", "Multi", 40);
    ReadColour(ini, "Menu", "MoneyGreen", s.Menu);
    ReadColour(ini, "MenuSel", "Yellow", s.MenuSel);
    ReadColour(ini, "MenuFont", "Navy", s.MenuFont);
    ReadColour(ini, "MenuSelFont", "Maroon", s.MenuSelFont);
    ReadColour(ini, "List", "Yellow", s.List);
    ReadColour(ini, "ListFont", "Maroon", s.ListFont);
    ReadColour(ini, "Grid", "Navy", s.Grid);
    ReadColour(ini, "GridFont", "Aqua", s.GridFont);
}

} // namespace

void ReadSettings(TSettings& settings, const TSettingsEnvironment& environment) {
    // The folders laid out at start-up from where the program lies; the
    // current folder's when nobody did.
    TFolders folders = environment.Folders;
    if (folders.ProgramFolder.empty()) {
        std::error_code ec;
        folders = ProgramFolders(fs::current_path(ec));
    }
    try {
        ReadFromFile(settings, environment, folders);
    } catch (const std::exception&) {
        // Reading ends here; what was read stays, the rest keeps its built-in values.
    }
}

// ---- Writing ----

TSettingsWrite WriteSettings(const TFolders& folders, TSettings& s, bool gameOpen) {
    TSettingsWrite result;
    const fs::path file = SettingsFileName(folders);
    try {
        TIniFile ini;
        // Keeps the keys that are never written and the Splash section. A file
        // that is there but could not be read whole (too large, unreadable)
        // goes to its first free backup name instead of being lost.
        std::error_code ec;
        const bool present = fs::exists(file, ec) || ec;
        if (!ini.Load(file) && present) {
            fs::rename(file, FreeBackupName(file), ec);
            if (ec)
                throw fs::filesystem_error("cannot keep the unreadable settings file", file, ec);
        }
        ini.ClearSection("Game");

        ini.WriteString("Global", "Language", s.Language);
        ini.WriteBool("Global", "BoldFont", s.BoldFont);
        ini.WriteBool("Global", "CustomMenu", s.CustomMenu);
        ini.WriteInteger("Global", "Fontsize", s.FontSize);

        ini.WriteString("Graphics", "Sprites", s.Sprites);
        ini.WriteString("Graphics", "Skin", s.Skin);
        ini.WriteBool("Graphics", "Random", s.SpritesRandom);
        ini.WriteInteger("Graphics", "Size", s.Size);

        ini.WriteString("Colors", "Menu", s.Menu.Name);
        ini.WriteString("Colors", "MenuFont", s.MenuFont.Name);
        ini.WriteString("Colors", "MenuSel", s.MenuSel.Name);
        ini.WriteString("Colors", "MenuSelFont", s.MenuSelFont.Name);
        ini.WriteString("Colors", "List", s.List.Name);
        ini.WriteString("Colors", "ListFont", s.ListFont.Name);
        ini.WriteString("Colors", "Grid", s.Grid.Name);
        ini.WriteString("Colors", "GridFont", s.GridFont.Name);

        ini.WriteString("Game", "Player", s.Player);
        if (gameOpen) {
            ini.WriteString("Game", "Game", s.Game);
            ini.WriteInteger("Game", "Level", s.Level);
        }

        ini.WriteInteger("Speed", "Speed", s.Speed);
        ini.WriteInteger("Speed", "Slow", s.Slow);
        ini.WriteInteger("Speed", "Normal", s.Normal);
        ini.WriteInteger("Speed", "Fast", s.Fast);
        ini.WriteInteger("Speed", "Booster", s.Booster);
        ini.WriteInteger("Speed", "Multi", s.Multi);

        ini.WriteBool("Sound", "On", s.SoundOn);
        ini.WriteBool("Sound", "Random", s.SoundRandom);
        ini.WriteString("Sound", "Waves", s.Waves);

        ini.Save(file);
        result.Written = true;
    } catch (const std::exception& e) {
        if (!s.WriteFailureReported) {
            s.WriteFailureReported = true;
            result.Report = "The settings could not be saved in " + file.string() + ": " + e.what();
        }
    }
    return result;
}

} // namespace tb
