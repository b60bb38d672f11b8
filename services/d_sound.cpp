#include "services/d_sound.h"

#include "services/d_file.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <map>
#include <stdexcept>
#include <system_error>

namespace tb {
namespace fs = std::filesystem;

namespace {

struct TEffectFile {
    std::string_view FileName;
    bool Asynchronous;
};

constexpr std::array<TEffectFile, EffectCount> EffectFiles = {{
    {"tb_error.wav", true},
    {"tb_stup.wav", true},
    {"tb_kill.wav", false},
    {"tb_win.wav", false},
    {"tb_ston.wav", true},
    {"tb_box.wav", true},
    {"tb_bomb.wav", true},
    {"tb_debox.wav", true},
    {"tb_pick.wav", true},
    {"tb_all.wav", false},
    {"tb_snap.wav", true},
    {"tb_rest.wav", true},
    {"tb_inp.wav", false},
    {"tb_tada.wav", true},
    {"tb_champ.wav", true},
    {"tb_exit.wav", false},
}};

std::uint32_t Le32(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

std::uint16_t Le16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
}

constexpr std::uint16_t FormatPcm = 1;
constexpr std::uint16_t FormatFloat = 3;
constexpr std::uint16_t FormatExtensible = 0xFFFE;

// Checks a "fmt " chunk; answers the size of one sample frame, or 0.
std::uint32_t FrameSize(std::string_view chunk) {
    if (chunk.size() < 16) return 0;
    std::uint16_t format = Le16(chunk, 0);
    const std::uint16_t channels = Le16(chunk, 2);
    const std::uint32_t rate = Le32(chunk, 4);
    const std::uint32_t byteRate = Le32(chunk, 8);
    const std::uint16_t blockAlign = Le16(chunk, 12);
    const std::uint16_t bits = Le16(chunk, 14);
    if (format == FormatExtensible) {
        if (chunk.size() < 40) return 0;
        format = Le16(chunk, 24); // the first two bytes of the sub-format's identifier
    }
    const bool pcm = format == FormatPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
    const bool real = format == FormatFloat && bits == 32;
    if (!pcm && !real) return 0;
    if (channels < 1 || channels > 8 || rate < 1000 || rate > 384000) return 0;
    const std::uint32_t frame = channels * (bits / 8u);
    if (blockAlign != frame || byteRate != rate * frame) return 0;
    return frame;
}

} // namespace

std::string_view EffectFileName(TEffect effect) {
    return EffectFiles.at(static_cast<std::size_t>(effect)).FileName;
}

bool EffectIsAsynchronous(TEffect effect) {
    return EffectFiles.at(static_cast<std::size_t>(effect)).Asynchronous;
}

bool IsPlayableWave(std::string_view bytes) {
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE")
        return false;
    const std::uint32_t riffSize = Le32(bytes, 4);
    if (riffSize < 4 || riffSize > bytes.size() - 8) return false; // cut off
    const std::size_t end = 8 + static_cast<std::size_t>(riffSize);
    std::size_t pos = 12;
    std::uint32_t frame = 0;
    while (end - pos >= 8) {
        const std::string_view id = bytes.substr(pos, 4);
        const std::uint32_t size = Le32(bytes, pos + 4);
        pos += 8;
        if (size > end - pos) return false; // a chunk reaching past the image
        const std::string_view chunk = bytes.substr(pos, size);
        if (id == "fmt ") {
            if (frame != 0) return false; // a second format
            frame = FrameSize(chunk);
            if (frame == 0) return false;
        } else if (id == "data") {
            return frame != 0 && size > 0 && size % frame == 0;
        }
        pos += size;
        if (size % 2 == 1 && pos < end) ++pos; // chunks start on even offsets
    }
    return false; // no samples
}

// ---- The mixer ----

namespace {

class TMixerPlayer : public TSoundPlayer {
public:
    ~TMixerPlayer() override {
        if (!Opened) return;
        Mix_HaltChannel(-1);
        Forget();
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    void Play(std::uint8_t entry, const std::string& wave, bool asynchronous) override {
        if (!Open()) return;
        Mix_HaltChannel(Channel); // a new sound stops the one playing
        Mix_Chunk* chunk = ChunkOf(entry, wave);
        if (!chunk) return;
        if (Mix_PlayChannel(Channel, chunk, 0) < 0) return;
        if (!asynchronous) WaitUntilFinished(chunk);
    }

    bool Playing() const override { return Opened && Mix_Playing(Channel) != 0; }

    void Forget() override {
        if (!Opened) return;
        Mix_HaltChannel(Channel);
        for (auto& [entry, chunk] : Chunks)
            Mix_FreeChunk(chunk);
        Chunks.clear();
    }

private:
    static constexpr int Channel = 0;

    // Opens the audio device once; after a failure it is not tried again.
    bool Open() {
        if (Opened) return true;
        if (Failed) return false;
        Failed = true;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        Mix_AllocateChannels(1);
        Opened = true;
        Failed = false;
        return true;
    }

    Mix_Chunk* ChunkOf(std::uint8_t entry, const std::string& wave) {
        if (auto found = Chunks.find(entry); found != Chunks.end()) return found->second;
        if (!IsPlayableWave(wave)) return nullptr;
        SDL_RWops* source = SDL_RWFromConstMem(wave.data(), static_cast<int>(wave.size()));
        if (!source) return nullptr;
        Mix_Chunk* chunk = Mix_LoadWAV_RW(source, 1);
        if (chunk) Chunks.emplace(entry, chunk);
        return chunk;
    }

    // Waits while the channel plays, at most the sound's length and a second more.
    static void WaitUntilFinished(const Mix_Chunk* chunk) {
        int rate = 0;
        int channels = 0;
        Uint16 format = 0;
        Mix_QuerySpec(&rate, &format, &channels);
        const Uint64 frameBytes =
            static_cast<Uint64>(channels > 0 ? channels : 1) * (SDL_AUDIO_BITSIZE(format) / 8);
        const Uint64 lengthMs =
            rate > 0 && frameBytes > 0 ? chunk->alen * 1000ull / (frameBytes * rate) : 0;
        const Uint64 deadline = SDL_GetTicks64() + lengthMs + 1000;
        while (Mix_Playing(Channel) && SDL_GetTicks64() < deadline)
            SDL_Delay(2);
        Mix_HaltChannel(Channel);
    }

    bool Opened = false;
    bool Failed = false;
    std::map<std::uint8_t, Mix_Chunk*> Chunks;
};

} // namespace

std::unique_ptr<TSoundPlayer> MakeMixerPlayer() {
    return std::make_unique<TMixerPlayer>();
}

// ---- The bank ----

TSoundBank::TSoundBank() : TSoundBank(MakeMixerPlayer()) {}

TSoundBank::TSoundBank(std::unique_ptr<TSoundPlayer> player) : Player(std::move(player)) {}

TSoundBank::~TSoundBank() = default;

void TSoundBank::LoadSoundSet(const fs::path& folder) {
    if (Player) Player->Forget();
    Entries.clear();
    Count = 0;
    LoadError = 0;
    for (int i = 0; i < EffectCount; ++i) {
        const auto effect = static_cast<TEffect>(i);
        const std::uint8_t before = Count;
        const std::uint8_t entry = AddSound(folder / EffectFileName(effect));
        // An effect whose file is missing stays silent rather than borrowing
        // the sound of the effect loaded before it.
        Effects[static_cast<std::size_t>(i)] = entry != before ? entry : 0;
    }
    ErrorSound = EffectEntry(TEffect::Error);
    Asynchronous.reset();
    for (int i = 0; i < EffectCount; ++i) {
        const auto effect = static_cast<TEffect>(i);
        if (EffectIsAsynchronous(effect) && EffectEntry(effect) != 0)
            Asynchronous.set(EffectEntry(effect));
    }
}

std::uint8_t TSoundBank::AddSound(const fs::path& fileName) {
    if (Count >= MaxEntries) throw std::overflow_error("the sound bank holds 255 entries");
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(fileName, ec);
    std::string wave;
    bool read = !ec && size <= MaxWaveSize;
    if (read) {
        try {
            wave = ReadWholeFile(fileName);
        } catch (const std::exception&) {
            read = false;
        }
    }
    if (!read || !IsPlayableWave(wave)) {
        LoadError = 2;
        return Count;
    }
    Entries.push_back(std::move(wave));
    return ++Count;
}

void TSoundBank::PlayEffect(std::uint8_t entry) {
    PlaySoundEntry(entry, IsAsynchronous(entry));
}

void TSoundBank::PlaySoundEntry(std::uint8_t entry, bool asynchronous) {
    if (!SoundOn || entry == 0 || entry > Count) return;
    if (ProcessMessages) ProcessMessages();
    if (Player) Player->Play(entry, Entries[entry - 1u], asynchronous);
    if (ProcessMessages) ProcessMessages();
}

const std::string& TSoundBank::Entry(std::uint8_t entry) const {
    static const std::string silence;
    if (entry == 0 || entry > Count) return silence;
    return Entries[entry - 1u];
}

TSoundBank& SoundBank() {
    static TSoundBank bank;
    return bank;
}

} // namespace tb
