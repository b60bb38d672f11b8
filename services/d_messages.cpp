#include "services/d_messages.h"

#include <array>
#include <vector>

namespace tb {
namespace {

std::vector<std::string> BuiltIn(TextList list) {
    switch (list) {
    case TextList::More:
        return {
            "Welcome to",
            "Click here to load a game",
            "Well Done !!!",
            "What did you do to Tobbin?",
            "Game name: @|Author: @|No. of levels: @|Skill: @",
            "Level name: @",
            "The best known result: @ by @",
            "Best result by @: @",
            "Remove @ from the player list?",
            "Number of levels in this game: @|@ level solutions saved as @",
            "@ level solutions by @ saved as @",
            "",
            "Congratulations!|This is the shortest solution to this level so far!|"
            "Previous record: @ (@)|Your new record: @",
            "",
            "You have this game saved in progress.|Would you like to continue?",
            "Game cannot be saved: some levels have errors.",
            "Do you still want to exit the editor?",
            "The game has been modified.|Would you like to save it before leaving the editor?",
            "Sorry, no solution for this level has been supplied.|You have to find one by "
            "yourself.",
            "Sorry, this game is read-only.|You will not be able to edit it.",
            "There is a game in progress.|Would you like to save it and continue later?",
            "Do you really, really want to say goodbye|to Tobbin and exit the program?",
            "",
            "DELETED 1",
            "DELETED 2",
            "Best Solutions by @",
            "Unsolved Levels",
            "The game \"@\" will be deleted from your disk.|Is this what you really want?",
            "Best on this computer: @ by @",
            "No requested files were found on your hard drives!",
            "Files have been found and placed in Tobbin folder.|They will become available the "
            "next time you run the program.",
            "Not installed from \"@\" (the archive is kept):|@",
            "This will search your hard drives for requested files.|Found files will be "
            "installed, and originals deleted.|The process may take a couple of minutes.|Proceed?",
            "Found \"@\".|Unpack it and delete the original?",
            "... and @ more",
            "",
            "",
            "",
            "",
            "Do your really want to kill this level's solution?",
            "None",
            "Ready",
            "Play",
            "Replay",
            "Done",
            "Edit",
            "Modified",
            "@ levels replayed",
            "Looking for a hint... @ positions (Escape stops)",
            "Hint: step into the marked cell (@ steps to win)",
            "No way to win from here: step back or start again",
            "No hint: the search gave up after @ positions",
            "Solving the level... @ positions (Escape stops)",
            "Level \"@\": the shortest solution takes @ steps.|Positions searched: @",
            "Level \"@\" cannot be won.|Positions searched: @",
            "Level \"@\": undecided after @ positions.",
            "Shortest possible solution: @ steps",
            "Level \"@\" cannot be won. Save anyway?",
            "Solve level needs a playable level: a hero, some food, and nothing left to fall.",
        };
    case TextList::Errors:
        return {
            "This game name is already used",
            "Corrupted game data",
            "There are no games in Tobbin folder",
            "Error reading game from disk",
            "Error writing game to disk",
            "Incompatible language (.tlg) file",
            "Image folder not found",
            "This game came with Tobbin and cannot be deleted",
        };
    case TextList::Skill:
        return {"Not rated", "Easy", "Moderate", "Hard", "Tough", "All"};
    case TextList::Passed:
        return {"New", "Old", "All"};
    }
    return {};
}

std::array<std::vector<std::string>, 4>& Lists() {
    static std::array<std::vector<std::string>, 4> lists = {
        BuiltIn(TextList::More), BuiltIn(TextList::Errors), BuiltIn(TextList::Skill),
        BuiltIn(TextList::Passed)};
    return lists;
}

std::vector<std::string>& ListOf(TextList list) {
    return Lists()[static_cast<int>(list)];
}

} // namespace

int TextCount(TextList list) {
    return static_cast<int>(ListOf(list).size());
}

const std::string& Text(TextList list, int key) {
    static const std::string empty;
    const auto& texts = ListOf(list);
    if (key < 1 || key > static_cast<int>(texts.size())) return empty;
    return texts[static_cast<std::size_t>(key - 1)];
}

void SetText(TextList list, int key, std::string value) {
    auto& texts = ListOf(list);
    if (key < 1 || key > static_cast<int>(texts.size())) return;
    texts[static_cast<std::size_t>(key - 1)] = std::move(value);
}

void RestoreBuiltInTexts() {
    for (TextList list : {TextList::More, TextList::Errors, TextList::Skill, TextList::Passed})
        ListOf(list) = BuiltIn(list);
}

} // namespace tb
