#pragma once
// The numbered message texts of the program. Each list starts with its built-in
// English texts; a language file replaces any of them by list and number.

#include <string>

namespace tb {

enum class TextList { More, Errors, Skill, Passed };

// Numbers of the Errors list.
enum ErrorText : int {
    ErrGameNameUsed = 1,
    ErrCorruptedGameData = 2,
    ErrNoGames = 3,
    ErrReadingGame = 4,
    ErrWritingGame = 5,
    ErrIncompatibleLanguage = 6,
    ErrImageFolderNotFound = 7,
    ErrShippedGame = 8,
};

// Numbers of the More list that the core uses.
enum MoreText : int {
    MsgWelcome = 1,
    MsgClickToLoad = 2,
    MsgWellDone = 3,
    MsgHeroKilled = 4,
    MsgGameInfo = 5,
    MsgLevelName = 6,
    MsgBestKnown = 7,
    MsgBestBy = 8,
    MsgRemovePlayer = 9,
    MsgExportGame = 10,
    MsgExportBest = 11,
    MsgNewRecord = 13,
    MsgContinueSaved = 15,
    MsgCannotSave = 16,
    MsgExitEditor = 17,
    MsgSaveBeforeLeaving = 18,
    MsgNoSolution = 19,
    MsgReadOnly = 20,
    MsgSaveInProgress = 21,
    MsgReallyExit = 22,
    MsgBestSolutionsBy = 26,
    MsgUnsolvedLevels = 27,
    MsgDeleteGame = 28,
    MsgBestOnComputer = 29,
    MsgNothingFound = 30,
    MsgFilesInstalled = 31,
    MsgNotInstalled = 32,
    MsgSearchDrives = 33,
    MsgFoundArchive = 34,
    MsgAndMore = 35,
    MsgKillSolution = 40,
    // The caption's word for each game state (None, Ready, Play, Replay,
    // Done in this order), then for the editor with the game as saved and
    // modified.
    MsgStateNone = 41,
    MsgEditing = 46,
    MsgModified = 47,
    MsgLevelsReplayed = 48,
    // Hints in play and the editor's Solve level.
    MsgHintSearching = 49,
    MsgHintFound = 50,
    MsgDeadEnd = 51,
    MsgHintGaveUp = 52,
    MsgSolving = 53,
    MsgLevelSolved = 54,
    MsgLevelUnwinnable = 55,
    MsgLevelUndecided = 56,
    MsgShortestKnown = 57,
    MsgSaveUnwinnable = 58,
    MsgNotSolvable = 59,
};

// How many entries a list has (More 59, Errors 8, Skill 6, Passed 3).
int TextCount(TextList list);

// The current text of entry `key` (1-based); an unknown key gives an empty text.
const std::string& Text(TextList list, int key);
inline const std::string& ErrorMessage(int key) {
    return Text(TextList::Errors, key);
}
inline const std::string& MoreMessage(int key) {
    return Text(TextList::More, key);
}
// The name of skill rating 0..5 ("Not rated" .. "All").
inline const std::string& SkillName(int skill) {
    return Text(TextList::Skill, skill + 1);
}

// Replaces entry `key`; keys outside the list are ignored.
void SetText(TextList list, int key, std::string value);

// Puts every list back to its built-in English texts.
void RestoreBuiltInTexts();

} // namespace tb
