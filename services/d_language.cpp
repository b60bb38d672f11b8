#include "services/d_language.h"

#include "services/d_codepage.h"
#include "services/d_error.h"
#include "services/d_file.h"
#include "services/d_folders.h"
#include "services/d_inifile.h"
#include "services/d_menu.h"
#include "services/d_string.h"

#include <algorithm>
#include <system_error>

namespace tb {
namespace fs = std::filesystem;

// ---- Built-in English captions ----

namespace {

using TSectionMap = std::map<std::string, TCaptionMap, std::less<>>;

// The menu's built-in captions, from the menu's table.
TCaptionMap MainCaptions() {
    TCaptionMap captions;
    for (const TMenuText& text : MainTexts)
        captions.emplace(text.Tag, std::string(text.Caption));
    return captions;
}

const TSectionMap& BuiltInSections() {
    static const TSectionMap sections = {
        {"Main", MainCaptions()},
        {"Alert", {{1, "&Yes"}, {2, "&No"}, {3, "&Cancel"}, {4, "&OK"}}},
        {"Hall",
         {{4, "&OK"},
          {5, "Player"},
          {6, "Levels"},
          {7, "Games"},
          {8, "Points"},
          {9, "Double-click here to show details"},
          {10, "@ is the Grand Champion!"},
          {11, "Unsolved"}}},
        {"AuthBox",
         {{4, "&OK"},
          {5, "@ Games and @ Levels"},
          {6, "Author"},
          {7, "Games"},
          {8, "Levels"},
          {9, "Double-click here to show details"}}},
        {"Congrat",
         {{1, "Congratulations!"},
          {2, "You've completed all levels of this game."},
          {3, "Cherish the moment!"}}},
        {"GameIn",
         {{3, "&Cancel"}, {4, "&OK"}, {5, "Select from:"}, {6, "Game name:"}, {7, "Allow &Edit"}}},
        {"NameIn",
         {{3, "&Cancel"},
          {4, "&OK"},
          {5, "New game name:"},
          {6, "New level name:"},
          {7, "Author:"}}},
        // A no-break space (0xA0) keeps the label on one line.
        {"PlayerIn", {{3, "&Cancel"}, {4, "&OK"}, {5, "Your\xA0name:"}}},
        {"SolBox",
         {{4, "&OK"},
          {5, "Double-click here to load a level"},
          {6, "Best Solutions by @"},
          {7, "No Solution"},
          {8, "Skill"},
          {9, "Game"},
          {10, "Level"},
          {11, "Steps"}}},
        {"WriBox",
         {{4, "&OK"},
          {5, "Double-click here to load a level"},
          {6, "Games by @"},
          {7, "Skill"},
          {8, "Game Name"},
          {9, "Levels"}}},
    };
    return sections;
}

constexpr std::size_t MaxNotes = 100;

void Note(std::vector<std::string>& notes, std::string note) {
    if (notes.size() < MaxNotes)
        notes.push_back(std::move(note));
    else if (notes.size() == MaxNotes)
        notes.push_back("(more keys skipped)");
}

// A key that is a whole positive decimal number written plainly ("10", not "010" or "+10").
bool KeyNumber(const std::string& key, int& number) {
    long long value = 0;
    if (!ParseInt(key, value) || value < 1 || value > 0x7FFFFFFF) return false;
    if (std::to_string(value) != key) return false;
    number = static_cast<int>(value);
    return true;
}

constexpr TextList AllLists[] = {TextList::More, TextList::Errors, TextList::Skill,
                                 TextList::Passed};

} // namespace

const std::vector<std::string>& WindowSections() {
    static const std::vector<std::string> sections = {"Main",    "Alert",  "Hall",   "AuthBox",
                                                      "Congrat", "GameIn", "NameIn", "PlayerIn",
                                                      "SolBox",  "WriBox"};
    return sections;
}

const std::vector<std::string>& FormSections(TLanguageForm form) {
    static const std::array<std::vector<std::string>, LanguageFormCount> sections = {{
        {"Main"},
        {"Alert"},
        {"Hall", "Alert"},
        {"AuthBox", "Alert"},
        {"Congrat"},
        {"Alert", "GameIn"},
        {"Alert", "NameIn"},
        {"Alert", "NameIn"},
        {"Alert", "PlayerIn"},
        {"Alert", "SolBox"},
        {"Alert", "WriBox"},
    }};
    return sections.at(static_cast<std::size_t>(form));
}

const TCaptionMap& BuiltInCaptions(std::string_view section) {
    static const TCaptionMap none;
    const auto& sections = BuiltInSections();
    const auto found = sections.find(section);
    return found == sections.end() ? none : found->second;
}

std::string_view ListSection(TextList list) {
    switch (list) {
    case TextList::More:
        return "More";
    case TextList::Errors:
        return "Errors";
    case TextList::Skill:
        return "Skill";
    case TextList::Passed:
        return "Passed";
    }
    return {};
}

TCaptionMap MergeFormCaptions(TLanguageForm form, const TSectionMap& sections) {
    TCaptionMap merged;
    for (const std::string& section : FormSections(form)) {
        const auto found = sections.find(section);
        if (found == sections.end()) continue;
        for (const auto& [tag, caption] : found->second)
            merged[tag] = caption;
    }
    return merged;
}

// ---- One file ----

bool TLanguageFile::Compatible() const {
    return Version >= std::string("3.00");
}

TLanguageFile ParseLanguageFile(std::string_view bytes) {
    TLanguageFile file;
    if (bytes.size() > TIniFile::MaxFileSize) {
        Note(file.Notes, "the file is larger than " + std::to_string(TIniFile::MaxFileSize) +
                             " bytes and was not read");
        return file;
    }
    TIniFile ini;
    ini.LoadText(bytes);
    file.Version = ini.ReadString("Version", "Version", "0");
    const long long charset = ini.ReadInteger("Version", "Charset", 0);
    if (charset >= 0 && charset <= 0xFFFF)
        file.Charset = static_cast<std::uint16_t>(charset);
    else
        Note(file.Notes, "[Version] Charset: not a character set number");
    const TCodePage codePage = TCodePage::OfCharset(file.Charset);
    // Most files decode whole; only then must each value be looked at.
    const bool wholeFileDecodes = codePage.CanDecode(bytes);

    // A value that can be taken as it is.
    const auto usable = [&](std::string_view section, std::string_view key,
                            const std::string& value) {
        const std::string where = "[" + std::string(section) + "] " + std::string(key) + ": ";
        if (value.size() > TLanguageFile::MaxValueLength) {
            Note(file.Notes,
                 where + "longer than " + std::to_string(TLanguageFile::MaxValueLength) + " bytes");
            return false;
        }
        if (!wholeFileDecodes && !codePage.CanDecode(value)) {
            Note(file.Notes, where + "holds bytes that code page " +
                                 std::to_string(codePage.Number()) + " cannot show");
            return false;
        }
        return true;
    };

    const std::string font = ini.ReadString("Version", "Font", "");
    if (usable("Version", "Font", font)) file.Font = Trim(font);

    for (const std::string& section : WindowSections()) {
        if (!ini.SectionExists(section)) continue;
        TCaptionMap& captions = file.Sections[section];
        for (const auto& [key, value] : ini.SectionEntries(section)) {
            int tag = 0;
            if (!KeyNumber(key, tag)) {
                Note(file.Notes, "[" + section + "] " + key + ": not a Tag number");
                continue;
            }
            if (value.empty() || !usable(section, key, value)) continue;
            captions[tag] = value;
        }
    }

    for (TextList list : AllLists) {
        const std::string section(ListSection(list));
        const int count = TextCount(list);
        auto& texts = file.Lists[static_cast<std::size_t>(list)];
        for (const auto& [key, value] : ini.SectionEntries(section)) {
            int number = 0;
            if (!KeyNumber(key, number) || number > count) {
                Note(file.Notes, "[" + section + "] " + key + ": not a number from 1 to " +
                                     std::to_string(count));
                continue;
            }
            if (usable(section, key, value)) texts[number] = value;
        }
    }
    return file;
}

// ---- Finding the files ----

namespace {

bool IsLanguageFileName(const std::string& name) {
    return !name.empty() && name[0] != '.' && name.size() > 4 &&
           CompareNoCase(std::string_view(name).substr(name.size() - 4), ".tlg") == 0;
}

// The menu name of a language file name: cut before the first ".", canonical form.
std::string MenuName(const std::string& fileName) {
    return NormaliseName(std::string_view(fileName).substr(0, fileName.find('.')));
}

std::vector<std::string> LanguageFileNames(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return names;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        std::string name = it->path().filename().string();
        if (IsLanguageFileName(name)) names.push_back(std::move(name));
    }
    if (ec) throw Error("Error setting the languages");
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

std::vector<std::string> LanguageNames(const fs::path& folder) {
    std::vector<std::string> names;
    try {
        for (const std::string& file : LanguageFileNames(folder)) {
            std::string name = MenuName(file);
            if (!name.empty()) names.push_back(std::move(name));
        }
    } catch (const std::exception&) {
        throw Error("Error setting the languages");
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const int order = CompareNoCase(a, b);
        return order != 0 ? order < 0 : a < b;
    });
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::optional<fs::path> FindLanguageFile(const fs::path& folder, std::string_view name,
                                         std::string* note) {
    const std::string canonical = NormaliseName(name);
    if (canonical.empty() || canonical[0] == '.' ||
        canonical.find_first_of(std::string_view("/\\\0", 3)) != std::string::npos)
        return std::nullopt;
    const std::string wanted = canonical + ".tlg";
    std::error_code ec;
    if (fs::is_regular_file(folder / wanted, ec)) return folder / wanted;

    std::vector<std::string> files;
    try {
        files = LanguageFileNames(folder);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    // First the same name in another letter case, then any file the Language
    // menu lists under this name ("pt.br.tlg" is listed as "Pt").
    std::vector<std::string> candidates;
    for (const std::string& file : files)
        if (CompareNoCase(file, wanted) == 0) candidates.push_back(file);
    if (candidates.empty())
        for (const std::string& file : files)
            if (MenuName(file) == canonical) candidates.push_back(file);
    if (candidates.empty()) return std::nullopt;
    if (note) {
        *note = "\"" + wanted + "\" is missing; took \"" + candidates.front() + "\"";
        for (std::size_t i = 1; i < candidates.size(); ++i)
            *note += (i == 1 ? ", left " : ", ") + ("\"" + candidates[i] + "\"");
    }
    return folder / candidates.front();
}

// ---- The language of the run ----

std::array<TCaptionMap, LanguageFormCount> TLanguageState::BuiltInForms() {
    std::array<TCaptionMap, LanguageFormCount> forms;
    for (int i = 0; i < LanguageFormCount; ++i)
        forms[static_cast<std::size_t>(i)] =
            MergeFormCaptions(static_cast<TLanguageForm>(i), BuiltInSections());
    return forms;
}

int TLanguageState::CodePage() const {
    return CodePageOfCharset(Charset);
}

void TLanguageState::RestoreEnglish() {
    RestoreBuiltInTexts();
    Forms = BuiltInForms();
    Charset = 0;
    FontName = SettingsFont;
    Name = "English";
}

TLanguageLoad TLanguageState::LoadLanguage(const TFolders& folders, std::string_view name) {
    if (Trim(name).empty()) return {};
    std::string note;
    // The player's installed languages first, then the shipped ones.
    std::optional<fs::path> path;
    for (const fs::path& folder : ContentFolders(folders, folders.LanguagesFolder)) {
        note.clear();
        path = FindLanguageFile(folder, name, &note);
        if (path) break;
    }
    std::optional<TLanguageFile> file;
    if (path) {
        try {
            std::error_code ec;
            if (fs::file_size(*path, ec) <= TIniFile::MaxFileSize && !ec)
                file = ParseLanguageFile(ReadWholeFile(*path));
        } catch (const std::exception&) {
            file.reset(); // unreadable: as if missing
        }
    }
    TLanguageLoad result;
    if (file) {
        result = Apply(name, *file);
        result.File = *path;
    } else if (CompareNoCase(NormaliseName(name), "English") == 0) {
        // English needs no file: the built-in texts are English.
        RestoreEnglish();
        result.Loaded = true;
        result.Sections = BuiltInSections();
    } else {
        result.Message = ErrorMessage(ErrIncompatibleLanguage);
    }
    if (!note.empty()) result.Notes.insert(result.Notes.begin(), note);
    return result;
}

TLanguageLoad TLanguageState::Apply(std::string_view name, const TLanguageFile& file) {
    TLanguageLoad result;
    const std::string canonical = NormaliseName(name);
    if (canonical.empty()) return result;
    const bool english = CompareNoCase(canonical, "English") == 0;
    result.Notes = file.Notes;
    if (!file.Compatible()) {
        result.Message = ErrorMessage(ErrIncompatibleLanguage);
        if (english) { // still English, from the built-in texts
            RestoreEnglish();
            result.Loaded = true;
            result.Sections = BuiltInSections();
        }
        return result;
    }
    if (english) {
        RestoreEnglish();
        result.Sections = BuiltInSections();
    }
    Charset = file.Charset;
    if (!file.Font.empty()) FontName = file.Font;
    Name = canonical;
    for (const auto& [section, captions] : file.Sections)
        for (const auto& [tag, caption] : captions)
            result.Sections[section][tag] = caption;
    for (int i = 0; i < LanguageFormCount; ++i) {
        const TCaptionMap captions =
            MergeFormCaptions(static_cast<TLanguageForm>(i), file.Sections);
        for (const auto& [tag, caption] : captions)
            Forms[static_cast<std::size_t>(i)][tag] = caption;
    }
    for (TextList list : AllLists)
        for (const auto& [key, text] : file.List(list))
            SetText(list, key, text);
    result.Loaded = true;
    return result;
}

TLanguageState& Language() {
    static TLanguageState language;
    return language;
}

} // namespace tb
