#pragma once
// Language files "*.tlg" in the languages folder. A language file replaces
// the captions of the windows' controls by their Tag numbers and the message
// texts by list and number; the program carries English texts built in, and a
// file overrides any subset of them. Texts stay the bytes of the file's code
// page (its "Charset"); the window converts them when it shows them.

#include "services/d_folders.h"
#include "services/d_messages.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tb {

// Tag number → caption.
using TCaptionMap = std::map<int, std::string>;

// The windows that a language file translates.
enum class TLanguageForm : std::uint8_t {
    Main,       // the main window: section Main
    AlertBox,   // the message box: Alert
    ChampBox,   // champions: Hall, then Alert
    AuthBox,    // authors: AuthBox, then Alert
    CongratBox, // congratulations: Congrat
    GameBox,    // load game: Alert, then GameIn
    NameBox,    // game name: Alert, then NameIn
    LevBox,     // level name: Alert, then NameIn
    PlayerBox,  // player: Alert, then PlayerIn
    SolBox,     // solutions: Alert, then SolBox
    WriBox,     // games by author: Alert, then WriBox
};
inline constexpr int LanguageFormCount = 11;

// The window sections of a language file: Main, Alert, Hall, AuthBox, Congrat,
// GameIn, NameIn, PlayerIn, SolBox, WriBox.
const std::vector<std::string>& WindowSections();
// The sections a window takes, in the order they are applied (a later one
// overrides an earlier one for the same Tag).
const std::vector<std::string>& FormSections(TLanguageForm form);
// The built-in English captions of a window section (empty for an unknown one).
const TCaptionMap& BuiltInCaptions(std::string_view section);
// The section names of the four message lists: More, Errors, Skill, Passed.
std::string_view ListSection(TextList list);

// The captions a window takes from a set of sections, in the window's order.
TCaptionMap MergeFormCaptions(TLanguageForm form,
                              const std::map<std::string, TCaptionMap, std::less<>>& sections);

// What one language file holds.
struct TLanguageFile {
    // A value longer than this (in bytes) is skipped as if it were missing.
    static constexpr std::size_t MaxValueLength = 1024;

    std::string Version = "0"; // [Version] Version
    std::uint16_t Charset = 0; // [Version] Charset
    std::string Font;          // [Version] Font
    // The window sections: only keys that are Tag numbers (1 and up) with a
    // text that is not empty, since an empty value changes no caption.
    std::map<std::string, TCaptionMap, std::less<>> Sections;
    // The message lists: the keys 1..count the file holds (an empty value too).
    std::array<std::map<int, std::string>, 4> Lists;
    // Keys that were skipped, and why.
    std::vector<std::string> Notes;

    // The version compares at least "3.00", as text, character by character
    // ("3.1" passes, "10.0" and "2.99" do not).
    bool Compatible() const;
    const std::map<int, std::string>& List(TextList list) const {
        return Lists[static_cast<std::size_t>(list)];
    }
};

// Reads a language file from its bytes. Never throws: anything unusable is
// skipped and noted. Values whose bytes stand for no character of the file's
// code page, over-long values and keys outside a list are skipped.
TLanguageFile ParseLanguageFile(std::string_view bytes);

// The names of the language files in `folder` for the Language menu: files
// "*.tlg" (the extension in any letter case), names starting with "." skipped,
// each cut before its first "." and brought to canonical form, sorted, each
// once. A missing folder gives no names; any other failure throws Error
// "Error setting the languages".
std::vector<std::string> LanguageNames(const std::filesystem::path& folder);

// The file of a language: `folder` / canonical name + ".tlg". On a file system
// that tells letter cases apart, a file whose name differs only in letter case
// is taken when the exact name is missing (of several, the first in byte
// order); `note` then tells which. Empty when there is none, or when the name
// holds a path separator.
std::optional<std::filesystem::path> FindLanguageFile(const std::filesystem::path& folder,
                                                      std::string_view name,
                                                      std::string* note = nullptr);

// The outcome of loading a language.
struct TLanguageLoad {
    bool Loaded = false;
    // When not loaded: the text for the error box, or empty when nothing was
    // asked (an empty name). Also set when English was restored from the
    // built-in texts because its file was unusable.
    std::string Message;
    std::filesystem::path File; // the file that was read; empty when none
    std::vector<std::string> Notes;
    // The captions to apply to the windows: the file's window sections, laid
    // over the built-in English ones when the language is English.
    std::map<std::string, TCaptionMap, std::less<>> Sections;

    // The captions of one window, its sections merged in its order.
    TCaptionMap FormCaptions(TLanguageForm form) const { return MergeFormCaptions(form, Sections); }
};

// The language of this run: its name, character set and interface font, the
// message lists (in d_messages) and the captions the windows show.
class TLanguageState {
public:
    // The current language: "English" at start; changes only when a file
    // passes the version check.
    std::string Name = "English";
    std::uint16_t Charset = 0; // the interface character set
    // The interface font: the one from the settings, replaced by a file's Font
    // when that is not empty. English takes back the settings' font.
    std::string FontName;
    void SetSettingsFont(std::string font) {
        SettingsFont = font;
        FontName = std::move(font);
    }

    // Loads the language file of that name from the languages folders of
    // `folders` (the player's installed ones first) and
    // applies it: version check, Charset and Font, the window captions, the
    // message lists. A missing or outdated file changes nothing and answers
    // the message "Incompatible language (.tlg) file" (Errors 6, in its
    // current wording). English first restores every built-in text, then lays
    // its file over them when there is one.
    TLanguageLoad LoadLanguage(const TFolders& folders, std::string_view name);
    // The same from a file already read (`name` is the language's name).
    TLanguageLoad Apply(std::string_view name, const TLanguageFile& file);

    // The code page of the interface character set.
    int CodePage() const;

    // What the window's translated controls show now, Tag by Tag: every
    // language loaded so far applied in turn (English: its built-in captions).
    const TCaptionMap& Captions(TLanguageForm form) const {
        return Forms[static_cast<std::size_t>(form)];
    }

private:
    void RestoreEnglish();
    std::string SettingsFont;
    std::array<TCaptionMap, LanguageFormCount> Forms = BuiltInForms();
    static std::array<TCaptionMap, LanguageFormCount> BuiltInForms();
};

// The language state of this run.
TLanguageState& Language();

} // namespace tb
