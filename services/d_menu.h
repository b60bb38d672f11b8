#pragma once
// The main window's menu items by Tag, and their built-in English captions.
// A Tag below 100 is also the item's key in the language file's [Main]
// section; the items the language file does not name (the Shuffle items,
// which share the caption key 64, the Xtra menu, the font sizes and Bold)
// have Tags from 200 up. The built-in language texts read MainTexts; what
// each item does and when it shows is in the window's menu table
// (TMain::MenuRows, rows of play/tb_menutable.h). A Tag number is written
// nowhere else.

#include <array>
#include <string_view>

namespace tb {

enum TMenuTag : int {
    TagFileMenu = 10,
    TagLoad = 11,
    TagNew = 12,
    TagSave = 15,
    TagExport = 16,
    TagExportBest = 17,
    TagEditMode = 18,
    TagPlayMode = 19,
    TagDeletePlayer = 21,
    TagNewPlayer = 22,
    TagHall = 23,
    TagExit = 24,
    TagDelete = 25,
    TagAuthors = 26,
    TagInstallMenu = 27,
    TagGameMenu = 30,
    TagStepBack = 31,
    TagGiveUp = 32,
    TagTake = 33,
    TagRestore = 34,
    TagPlayBack = 35,
    TagShow = 36,
    TagGameInfo = 37,
    TagLevelInfo = 38,
    TagKillSolution = 39,
    TagEditMenu = 40,
    TagAdd = 41,
    TagRemove = 42,
    TagClear = 43,
    TagMoveUp = 44,
    TagMoveDown = 45,
    TagCopy = 46,
    TagMoveMapMenu = 47,
    TagMapUp = 48,
    TagMapDown = 49,
    TagMapLeft = 51,
    TagMapRight = 52,
    TagLevelName = 53,
    TagGameName = 54,
    TagSolveLevel = 55, // the Edit menu's: the editor's search of the level
    TagHint = 56,       // the Game menu's: the next move of a shortest way to win
    TagOptionsMenu = 60,
    TagLanguageMenu = 61,
    TagSoundMenu = 62,
    TagSoundOff = 63,
    TagShuffle = 64, // the caption key of the five Shuffle items
    TagGraphicsMenu = 65,
    TagSmall = 66,
    TagMedium = 67,
    TagSkinsMenu = 68,
    TagSpeedMenu = 69,
    TagHelpMenu = 70,
    TagHelp = 71,
    TagWebPage = 72,
    TagAbout = 73,
    TagSlow = 76,
    TagNormal = 77,
    TagFast = 78,
    TagBooster = 79,
    TagInstallGames = 81,
    TagInstallSprites = 82,
    TagInstallSounds = 83,
    TagInstallSolutions = 84,
    TagInstallLanguages = 85,
    TagFontSizeMenu = 86,
    TagLarge = 89,
    TagHuge = 90,
    TagPaletteHints = 91, // 91 to 98: the editor's palette hints, one a cell kind
    // Items without a language key of their own.
    TagSoundShuffle = 201,
    TagSmallShuffle = 202, // 202 to 205: the Shuffle item of each size menu
    TagMediumShuffle = 203,
    TagLargeShuffle = 204,
    TagHugeShuffle = 205,
    TagXtraMenu = 210,
    TagReadOnly = 211,
    TagAccessAll = 212,
    TagPlayNew = 213,
    TagPlayAll = 214,
    TagAccept = 215,
    TagDiagnostics = 216,
    TagShowSplash = 217,
    TagFontSize7 = 221, // 221 to 226: font sizes 7 to 12
    TagBold = 227,
};

struct TMenuText {
    int Tag;
    std::string_view Caption;
};

// Every captioned item of the [Main] section with its built-in caption.
inline constexpr std::array<TMenuText, 75> MainTexts = {{
    {TagFileMenu, "File"},
    {TagLoad, "&Load game..."},
    {TagNew, "Create &new game..."},
    {TagSave, "&Save game"},
    {TagExport, "Export &game solution"},
    {TagExportBest, "Export &best solutions"},
    {TagEditMode, "&Edit mode"},
    {TagPlayMode, "&Play mode"},
    {TagDeletePlayer, "Delete &this player"},
    {TagNewPlayer, "Ne&w player name..."},
    {TagHall, "&Hall of Champions..."},
    {TagExit, "E&xit Tobbin"},
    {TagDelete, "&Delete game"},
    {TagAuthors, "Game &authors..."},
    {TagInstallMenu, "&Install"},
    {TagGameMenu, "Game"},
    {TagStepBack, "Step &back"},
    {TagGiveUp, "Give &up"},
    {TagTake, "&Take snapshot"},
    {TagRestore, "&Restore snapshot"},
    {TagPlayBack, "&Play back"},
    {TagShow, "&Show solution"},
    {TagGameInfo, "&Game info..."},
    {TagLevelInfo, "&Level info..."},
    {TagKillSolution, "&Kill level solution"},
    {TagEditMenu, "Edit"},
    {TagAdd, "&Add level"},
    {TagRemove, "&Delete level"},
    {TagClear, "Cl&ear level"},
    {TagMoveUp, "Move level &up"},
    {TagMoveDown, "Move level do&wn"},
    {TagCopy, "&Copy previous level"},
    {TagMoveMapMenu, "&Move map"},
    {TagMapUp, "&Up"},
    {TagMapDown, "&Down"},
    {TagMapLeft, "&Left"},
    {TagMapRight, "&Right"},
    {TagLevelName, "&Level name..."},
    {TagGameName, "&Game name..."},
    {TagSolveLevel, "&Solve level"},
    {TagHint, "&Hint"},
    {TagOptionsMenu, "Options"},
    {TagLanguageMenu, "&Language"},
    {TagSoundMenu, "S&ound"},
    {TagSoundOff, "Off"},
    {TagShuffle, "&Shuffle"},
    {TagGraphicsMenu, "&Graphics"},
    {TagSmall, "&Small"},
    {TagMedium, "&Medium"},
    {TagSkinsMenu, "S&kins"},
    {TagSpeedMenu, "&Speed"},
    {TagHelpMenu, "Help"},
    {TagHelp, "&Help"},
    {TagWebPage, "Tobbin &Web page"},
    {TagAbout, "&About Tobbin..."},
    {TagSlow, "&Slow"},
    {TagNormal, "&Normal"},
    {TagFast, "&Fast"},
    {TagBooster, "&Booster"},
    {TagInstallGames, "&Tobbin games"},
    {TagInstallSprites, "&Graphics files"},
    {TagInstallSounds, "&Sound files"},
    {TagInstallSolutions, "S&olution file"},
    {TagInstallLanguages, "&Language files"},
    {TagFontSizeMenu, "&Font size"},
    {TagLarge, "&Large"},
    {TagHuge, "&Huge"},
    // The editor's palette hints: the cell kinds.
    {TagPaletteHints + 0, "Empty"},
    {TagPaletteHints + 1, "Grass"},
    {TagPaletteHints + 2, "Wall"},
    {TagPaletteHints + 3, "Stone"},
    {TagPaletteHints + 4, "Food"},
    {TagPaletteHints + 5, "Box"},
    {TagPaletteHints + 6, "Bomb"},
    {TagPaletteHints + 7, "Tobbin"},
}};

// The captions of the items the language file does not name.
inline constexpr std::array<TMenuText, 15> FixedTexts = {{
    {TagXtraMenu, "&Xtra"},
    {TagReadOnly, "&Read only"},
    {TagAccessAll, "&Access all levels"},
    {TagPlayNew, "Play &new solutions"},
    {TagPlayAll, "&Play all solutions"},
    {TagAccept, "A&ccept solution"},
    {TagDiagnostics, "&Diagnostics"},
    {TagShowSplash, "&Show Splash"},
    {TagFontSize7 + 0, " &7"},
    {TagFontSize7 + 1, " &8"},
    {TagFontSize7 + 2, " &9"},
    {TagFontSize7 + 3, "1&0"},
    {TagFontSize7 + 4, "1&1"},
    {TagFontSize7 + 5, "1&2"},
    {TagBold, "&Bold"},
}};

// The built-in caption of the language key or fixed-caption Tag `key`
// (empty for one without a caption).
constexpr std::string_view MenuCaption(int key) {
    for (const TMenuText& text : MainTexts)
        if (text.Tag == key) return text.Caption;
    for (const TMenuText& text : FixedTexts)
        if (text.Tag == key) return text.Caption;
    return {};
}

// The Speed menu's items: speed 1 (Slow) to 4 (Booster) and back.
constexpr int SpeedTag(int speed) {
    return TagSlow + speed - 1;
}
constexpr int SpeedOfTag(int tag) {
    return tag - TagSlow + 1;
}

// The Font size menu's items: sizes 7 to 12.
constexpr int FontSizeTag(int size) {
    return TagFontSize7 + size - 7;
}

// The menu of tile size 1 (Small) to 4 (Huge).
constexpr int SizeTag(int size) {
    constexpr std::array<int, 4> tags = {TagSmall, TagMedium, TagLarge, TagHuge};
    return tags[static_cast<std::size_t>(size - 1)];
}

// The Shuffle item of size menu 1 (Small) to 4 (Huge).
constexpr int SpriteShuffleTag(int size) {
    return TagSmallShuffle + size - 1;
}

} // namespace tb
