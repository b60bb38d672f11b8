#pragma once
// The game's own sound sets, each sixteen effects made by the synthesiser.

#include "tools/assets/sounds/tb_synth.h"

#include <array>
#include <string_view>
#include <vector>

namespace tb::synth {

// The effects' file names, in the order the sound bank loads them.
inline constexpr std::array<std::string_view, 16> EffectFiles = {
    "tb_error.wav", "tb_stup.wav",  "tb_kill.wav",  "tb_win.wav",  "tb_ston.wav", "tb_box.wav",
    "tb_bomb.wav",  "tb_debox.wav", "tb_pick.wav",  "tb_all.wav",  "tb_snap.wav", "tb_rest.wav",
    "tb_inp.wav",   "tb_tada.wav",  "tb_champ.wav", "tb_exit.wav",
};

struct TSoundSet {
    std::string_view Name; // the set's folder below wav/
    int Rate;              // samples a second
    // The finished samples of effect `index` (an index into EffectFiles).
    TSamples (*Make)(std::size_t index);
};

// Every set: "Classic" (the default: warm, clear tones) first, then "Arcade"
// (bright square waves and coarse noise).
const std::vector<TSoundSet>& SoundSets();

} // namespace tb::synth
