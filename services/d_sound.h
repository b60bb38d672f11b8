#pragma once
// The sound bank: the sixteen effects of one sound set held in memory, played
// by entry number. Playing never touches the disk; a sound set is a folder of
// wave files, loaded all at once.

#include <array>
#include <bitset>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tb {

// The effects of a sound set, in the order they are loaded.
enum class TEffect : std::uint8_t {
    Error,     // "tb_error.wav", asynchronous
    Refused,   // "tb_stup.wav", asynchronous
    Kill,      // "tb_kill.wav", synchronous
    Win,       // "tb_win.wav", synchronous
    Stone,     // "tb_ston.wav", asynchronous
    Box,       // "tb_box.wav", asynchronous
    Bomb,      // "tb_bomb.wav", asynchronous
    DeBox,     // "tb_debox.wav", asynchronous
    Pick,      // "tb_pick.wav", asynchronous
    AllLevels, // "tb_all.wav", synchronous
    Snapshot,  // "tb_snap.wav", asynchronous
    Restore,   // "tb_rest.wav", asynchronous
    Input,     // "tb_inp.wav", synchronous
    TaDa,      // "tb_tada.wav", asynchronous
    Champion,  // "tb_champ.wav", asynchronous
    Exit,      // "tb_exit.wav", synchronous
};
inline constexpr int EffectCount = 16;

// The wave file of an effect, and whether it plays without waiting.
std::string_view EffectFileName(TEffect effect);
bool EffectIsAsynchronous(TEffect effect);

// True when `bytes` is a whole RIFF/WAVE image of uncompressed samples: a
// "RIFF" header whose size fits the bytes, "WAVE", a "fmt " chunk that
// describes PCM or floating-point samples, and a "data" chunk after it, every
// chunk inside the image.
bool IsPlayableWave(std::string_view bytes);

// What actually makes the sound. The bank hands it the bytes of one entry.
class TSoundPlayer {
public:
    virtual ~TSoundPlayer() = default;
    // Plays a wave image, stopping any sound still playing. A synchronous call
    // returns when the sound has finished.
    virtual void Play(std::uint8_t entry, const std::string& wave, bool asynchronous) = 0;
    // The bank's entries are about to be replaced: forget anything kept for them.
    virtual void Forget() {}
    // True while a sound plays.
    virtual bool Playing() const { return false; }
};

// Plays through SDL2_mixer on one channel. When no audio device can be opened
// the player stays silent; nothing fails.
std::unique_ptr<TSoundPlayer> MakeMixerPlayer();

class TSoundBank {
public:
    static constexpr int MaxEntries = 255;
    // Wave files larger than this are not loaded.
    static constexpr std::uintmax_t MaxWaveSize = 16u << 20;

    // Plays through the mixer.
    TSoundBank();
    explicit TSoundBank(std::unique_ptr<TSoundPlayer> player);
    ~TSoundBank();
    TSoundBank(const TSoundBank&) = delete;
    TSoundBank& operator=(const TSoundBank&) = delete;

    // Empties the bank, then loads the sixteen effects from `folder` in their
    // order, so that a complete set fills entries 1 to 16. An effect whose file
    // is missing or not a playable wave is silent (entry 0). Copies the error
    // effect's entry to ErrorSound and rebuilds the asynchronous set.
    void LoadSoundSet(const std::filesystem::path& folder);
    // Plays through `player` from now on (the loaded entries stay).
    void SetPlayer(std::unique_ptr<TSoundPlayer> player) { Player = std::move(player); }

    // Reads the whole file into the next entry and answers the loaded count
    // after this. A missing, unreadable, too large or damaged file fills no
    // entry and sets LoadError to 2; the count stays as it was. Throws
    // std::overflow_error when all 255 entries are taken.
    std::uint8_t AddSound(const std::filesystem::path& fileName);

    // Plays an entry without waiting when it is in the asynchronous set, else
    // waits until it has finished.
    void PlayEffect(std::uint8_t entry);
    // PlayEffect with the entry of a named effect.
    void Play(TEffect effect) { PlayEffect(EffectEntry(effect)); }
    // Nothing when the sound switch is off, the entry is 0 or above the loaded
    // count. Otherwise lets the window process its pending messages, plays the
    // entry, and processes them once more.
    void PlaySoundEntry(std::uint8_t entry, bool asynchronous);

    // The entry that holds an effect of the loaded set (0: silent).
    std::uint8_t EffectEntry(TEffect effect) const {
        return Effects[static_cast<std::size_t>(effect)];
    }
    std::uint8_t LoadedCount() const { return Count; }
    bool IsAsynchronous(std::uint8_t entry) const { return Asynchronous.test(entry); }
    // The bytes of an entry (an empty text for entry 0 or one above the count).
    const std::string& Entry(std::uint8_t entry) const;

    // The sound switch: while it is false nothing is played.
    bool SoundOn = true;
    // The error effect's entry after each load; the error box plays it.
    std::uint8_t ErrorSound = 0;
    // 2 after a file could not be loaded; 0 after a load without such a file.
    int LoadError = 0;
    // Called before and after each sound to let the window process its
    // pending messages. Empty: nothing to process.
    std::function<void()> ProcessMessages;

private:
    std::unique_ptr<TSoundPlayer> Player;
    std::vector<std::string> Entries; // Entries[i] holds entry i + 1
    std::uint8_t Count = 0;
    std::array<std::uint8_t, EffectCount> Effects{};
    std::bitset<256> Asynchronous;
};

// The sound bank of this run.
TSoundBank& SoundBank();
// SoundBank().Play(effect).
inline void PlayEffect(TEffect effect) {
    SoundBank().Play(effect);
}

} // namespace tb
