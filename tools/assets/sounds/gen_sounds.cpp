// gen_sounds <wav folder>: writes every sound set of the game, one subfolder
// per set with its sixteen wave files. The output is the same on every run.

#include "tools/assets/sounds/tb_sound_sets.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

namespace {

// Writes name.tmp, then renames it over the file, so that a half-written
// wave never stands under the real name.
void WriteWhole(const fs::path& file, const std::string& bytes) {
    fs::path temporary = file;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) throw std::runtime_error("cannot write " + temporary.string());
    }
    fs::rename(temporary, file);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: gen_sounds <wav folder>\n";
        return 2;
    }
    try {
        const fs::path root = argv[1];
        for (const tb::synth::TSoundSet& set : tb::synth::SoundSets()) {
            const fs::path folder = root / std::string(set.Name);
            fs::create_directories(folder);
            for (std::size_t i = 0; i < tb::synth::EffectFiles.size(); ++i) {
                const tb::synth::TSamples samples = set.Make(i);
                WriteWhole(folder / std::string(tb::synth::EffectFiles[i]),
                           tb::synth::EncodeWave(samples, set.Rate));
            }
        }
    } catch (const std::exception& error) {
        std::cerr << "gen_sounds: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
