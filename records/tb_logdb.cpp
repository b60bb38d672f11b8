#include "records/tb_logdb.h"

#include "games/tb_gambase.h"
#include "games/tb_game.h"
#include "games/tb_version.h"
#include "records/tb_recfile.h"

#include "services/d_checked.h"
#include "services/d_crc.h"
#include "services/d_file.h"
#include "services/d_folders.h"
#include "services/d_string.h"
#include "services/d_types.h"

#include <algorithm>
#include <new>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <system_error>

namespace tb {
namespace fs = std::filesystem;

// ---------------------------------------------------------------------------
// TLog

std::uint16_t TLog::Checksum() const {
    std::uint16_t c = Checksum16(0, Player);
    c = Checksum16(c, Game);
    c = Checksum16Word(c, Time);
    c = Checksum16Word(c, Steps);
    return Checksum16(c, &Level, 1);
}

std::string TLog::Line() const {
    return std::to_string(Level) + ' ' + std::to_string(Time) + ' ' + std::to_string(Steps) + ' ' +
           Game + '|' + Player + '|' + std::to_string(Checksum());
}

// ---------------------------------------------------------------------------
// Reading one line of the hall-of-fame file

namespace {

enum class LineResult {
    Entry,     // an entry was read (its checksum still to be compared)
    Blank,     // nothing on the line
    NoBar,     // no "|": the reading ends here
    Malformed, // a number that is no number, or out of its range
};

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// The next blank-delimited word after pos; empty at the end of the line.
std::string_view NextWord(std::string_view line, std::size_t& pos) {
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    const std::size_t start = pos;
    while (pos < line.size() && !IsBlank(line[pos]))
        ++pos;
    return line.substr(start, pos - start);
}

bool ReadNumber(std::string_view word, long long lo, long long hi, long long& value) {
    return ParseInt(word, value) && value >= lo && value <= hi;
}

// Level, seconds and steps, then " game|player|checksum".
LineResult ParseLogLine(std::string_view line, const TRenamedGames& renames, TLog& entry,
                        long long& stored, bool& renamed) {
    renamed = false;
    stored = 0;
    if (std::all_of(line.begin(), line.end(), IsBlank)) return LineResult::Blank;
    std::size_t pos = 0;
    long long numbers[3] = {0, 0, 0};
    static constexpr long long highest[3] = {TGamBase::MaxLevels, 0xFFFF, 0xFFFF};
    for (int i = 0; i < 3; ++i) {
        const std::string_view word = NextWord(line, pos);
        // A line that ends before its numbers is cut short: it ends the reading.
        if (word.empty()) return LineResult::NoBar;
        if (!ReadNumber(word, i == 0 ? 1 : 0, highest[i], numbers[i])) {
            // "5|..." may hold the bar right after a number; the number is damaged then too.
            return LineResult::Malformed;
        }
    }
    std::string_view s = line.substr(pos);
    const std::size_t bar = s.find('|');
    if (bar == std::string_view::npos) return LineResult::NoBar;
    entry.Level = static_cast<std::uint8_t>(numbers[0]);
    entry.Time = static_cast<std::uint16_t>(numbers[1]);
    entry.Steps = static_cast<std::uint16_t>(numbers[2]);
    // The game's name starts after the blank that follows the steps.
    entry.Game.assign(bar > 1 ? s.substr(1, bar - 1) : std::string_view());
    renamed = renames.Lookup(entry.Game);
    s.remove_prefix(bar + 1);
    const std::size_t bar2 = s.find('|');
    if (bar2 == std::string_view::npos) {
        entry.Player.assign(s);
    } else {
        entry.Player.assign(s.substr(0, bar2));
        std::size_t at = bar2 + 1;
        const std::string_view word = NextWord(s, at);
        // A checksum cut off at the end of the line reads as 0 (and then fails to match).
        if (!word.empty() && !ParseInt(word, stored)) return LineResult::Malformed;
    }
    if (entry.Player.find(" #") == std::string::npos)
        entry.Player += " #" + std::to_string(InstallationNumber);
    return LineResult::Entry;
}

} // namespace

// ---------------------------------------------------------------------------
// TLogDB

std::size_t TLogDB::KeyHash::operator()(const TLog* e) const {
    const std::size_t h1 = std::hash<std::string>()(e->Game);
    const std::size_t h2 = std::hash<std::string>()(e->Player);
    return h1 ^ (h2 * 0x9E3779B97F4A7C15ull) ^ (static_cast<std::size_t>(e->Level) << 7);
}

TLogDB::TLogDB(TFolders folders, bool readOnly) : Folders(std::move(folders)), ReadOnly(readOnly) {
    if (Load()) Save();
}

fs::path TLogDB::FilePath() const {
    return Folders.SettingsFolder / "tobbin.hof";
}

TLog& TLogDB::EntryAt(std::size_t index) {
    CheckedIndex<std::size_t>(index, 1, Entries.size(), "log entry index");
    return *Entries[index - 1];
}

const TLog& TLogDB::EntryAt(std::size_t index) const {
    CheckedIndex<std::size_t>(index, 1, Entries.size(), "log entry index");
    return *Entries[index - 1];
}

void TLogDB::Delete(std::size_t index) {
    CheckedIndex<std::size_t>(index, 1, Entries.size(), "log entry index");
    Index.erase(Entries[index - 1].get());
    Entries.erase(Entries.begin() + static_cast<std::ptrdiff_t>(index - 1));
}

std::size_t TLogDB::DeleteWhere(const std::function<bool(TLog&)>& drop) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < Entries.size(); ++i) {
        if (drop(*Entries[i])) {
            Index.erase(Entries[i].get());
            continue;
        }
        if (kept != i) Entries[kept] = std::move(Entries[i]);
        ++kept;
    }
    const std::size_t gone = Entries.size() - kept;
    Entries.resize(kept);
    return gone;
}

bool TLogDB::Load() {
    std::optional<std::string> text = ReadRecordFile(FilePath(), Damaged);
    if (!text) return false;
    return LoadText(std::move(*text));
}

bool TLogDB::LoadText(std::string text) {
    // Every line is written with its line end: a file ending inside a line was cut off.
    if (!text.empty() && text.back() != '\n') Damaged = true;
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    Entries.reserve(Entries.size() + lines);
    Index.reserve(Index.size() + lines);
    TTextReader file(std::move(text));
    bool verify = true;
    try {
        verify = ReadVersionLine(file).Version >= FirstCheckedVersion;
    } catch (const std::invalid_argument&) {
        // A damaged version line: the lines are read as checked ones, which
        // keeps every entry whose checksum is right.
        Damaged = true;
        file.Rewind();
        std::string skipped;
        file.ReadLine(skipped);
    }
    bool renamed = false;
    std::string line;
    while (file.ReadLine(line)) {
        TLog entry;
        long long stored = 0;
        bool entryRenamed = false;
        const LineResult result = ParseLogLine(line, Folders.Renamed, entry, stored, entryRenamed);
        if (result == LineResult::Blank) continue;
        if (result == LineResult::Malformed) {
            Damaged = true;
            continue;
        }
        if (result == LineResult::NoBar) {
            Damaged = true; // the lines after it are not read
            break;
        }
        if (entryRenamed) renamed = true;
        if (!entryRenamed && verify && stored != entry.Checksum()) continue;
        Merge(std::move(entry));
    }
    return renamed;
}

std::string TLogDB::SaveText() const {
    TTextWriter file;
    file.WriteLine(VersionLine());
    for (const auto& e : Entries)
        file.WriteLine(e->Line());
    return file.Content();
}

void TLogDB::Save() {
    if (ReadOnly) return;
    const fs::path path = FilePath();
    if (Damaged) {
        KeepBackup(path);
        Damaged = false;
    }
    WriteFileAtomic(path, SaveText());
}

TLog* TLogDB::Find(const std::string& game, std::uint8_t level, const std::string& player) const {
    TLog probe;
    probe.Game = game;
    probe.Level = level;
    probe.Player = player;
    const auto it = Index.find(&probe);
    return it == Index.end() ? nullptr : *it;
}

bool TLogDB::AddOrImprove(const TLog& entry) {
    return Merge(TLog(entry));
}

bool TLogDB::Merge(TLog&& entry) {
    if (const auto it = Index.find(&entry); it != Index.end()) {
        TLog& existing = **it;
        if (entry.Steps >= existing.Steps) return false;
        existing = std::move(entry); // the time comes along with the steps
        return true;
    }
    auto copy = std::make_unique<TLog>(std::move(entry));
    Index.insert(copy.get());
    Entries.push_back(std::move(copy));
    return true;
}

void TLogDB::AddResult(const TGame& game) {
    TLog entry;
    entry.Player = game.GetPlayer();
    entry.Game = game.GameName();
    entry.Level = game.GetLevel();
    entry.Time = game.GetTime();
    entry.Steps = game.GetSolution().GetSteps();
    if (AddOrImprove(entry)) Save();
}

std::uint16_t TLogDB::Best(const std::string& game, std::uint8_t level, std::string& player) const {
    const TLog* best = nullptr;
    for (const auto& e : Entries)
        if (e->Level == level && e->Game == game && (!best || e->Steps < best->Steps))
            best = e.get();
    if (!best) return 0;
    player = best->Player;
    return best->Steps;
}

std::uint16_t TLogDB::PlayerSteps(const std::string& game, std::uint8_t level,
                                  const std::string& player) const {
    const TLog* e = Find(game, level, player);
    return e ? e->Steps : 0;
}

std::uint8_t TLogDB::MaxLevelReached(const std::string& game, const std::string& player) const {
    for (std::uint8_t level = TGamBase::MaxLevels; level >= 1; --level)
        if (Find(game, level, player)) return level;
    return 0;
}

bool TLogDB::DeleteGame(const std::string& game, std::uint8_t level) {
    const std::size_t gone =
        DeleteWhere([&](TLog& e) { return e.Game == game && (level == 0 || e.Level == level); });
    if (gone > 0) Save();
    return gone > 0;
}

std::size_t TLogDB::DeletePlayer(const std::string& player) {
    return DeleteWhere([&](TLog& e) { return e.Player == player; });
}

void TLogDB::RenameGame(const std::string& oldName, const std::string& newName) {
    if (oldName == newName) return;
    bool any = false;
    for (auto& e : Entries) {
        if (e->Game != oldName) continue;
        e->Game = newName;
        any = true;
    }
    if (any) Reindex();
}

void TLogDB::Reindex() {
    // Renaming can bring two entries of one player and level under one game
    // name; the better one stays (as when such a file is read), the first on a tie.
    std::vector<std::unique_ptr<TLog>> old;
    old.swap(Entries);
    Index.clear();
    for (auto& e : old) {
        if (const auto it = Index.find(e.get()); it != Index.end()) {
            if (e->Steps < (*it)->Steps) (*it)->Assign(*e);
            continue;
        }
        Index.insert(e.get());
        Entries.push_back(std::move(e));
    }
}

} // namespace tb
