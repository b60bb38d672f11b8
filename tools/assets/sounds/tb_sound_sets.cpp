#include "tools/assets/sounds/tb_sound_sets.h"

#include <cmath>
#include <initializer_list>

namespace tb::synth {

namespace {

// Every effect fades in and out over a few milliseconds, so nothing clicks,
// and peaks at its set's level: about -2 dB below full scale for the soft
// Classic tones, -4 dB for the square waves, which sound louder at the same peak.
constexpr double FadeSeconds = 0.003;
constexpr float ClassicPeak = 0.8f;
constexpr float ArcadePeak = 0.65f;

// The pitch of a key number: 69 is A4 (440 Hz), 60 is middle C.
double Hz(int key) {
    return 440.0 * std::pow(2.0, (key - 69) / 12.0);
}
enum : int { G3 = 55, C4 = 60, D4 = 62, E4 = 64, G4 = 67, A4 = 69, B4 = 71 };
enum : int { C5 = 72, D5 = 74, E5 = 76, G5 = 79, A5 = 81, B5 = 83 };
enum : int { C6 = 84, E6 = 88, G6 = 91, C7 = 96 };

TSamples Finished(TSamples samples, int rate, float peak) {
    Finish(samples, rate, FadeSeconds, peak);
    return samples;
}

// ---- Classic: sine tones with soft overtones, gentle envelopes ----

constexpr int ClassicRate = 44100;

TTone Warm(double from, double to = 0.0) {
    TTone tone;
    tone.From = from;
    tone.To = to;
    tone.Overtones = {0.45, 0.18, 0.08};
    return tone;
}

// A struck note that dies away.
TSamples Bell(double hz, double seconds, double halfLife) {
    TSamples s = Render(Warm(hz), ClassicRate, seconds);
    Pluck(s, ClassicRate, 0.004, halfLife);
    return s;
}

// A held chord with a slight vibrato, swelling in and released at its end.
TSamples Held(std::initializer_list<int> keys, double seconds, double release) {
    TSamples chord;
    for (int key : keys) {
        TTone tone = Warm(Hz(key));
        tone.VibratoHz = 5.5;
        tone.VibratoCents = 12.0;
        Mix(chord, Render(tone, ClassicRate, seconds), ClassicRate, 0.0);
    }
    Adsr(chord, ClassicRate, 0.015, 0.2, 0.7, release);
    return chord;
}

// Struck notes one after another, `step` seconds apart, each ringing `ring` seconds.
TSamples Run(std::initializer_list<int> keys, double step, double ring, double at = 0.0) {
    TSamples run;
    for (int key : keys) {
        Mix(run, Bell(Hz(key), ring, ring / 3.0), ClassicRate, at);
        at += step;
    }
    return run;
}

TSamples ClassicEffect(std::size_t index) {
    constexpr int R = ClassicRate;
    TSamples s;
    switch (index) {
    case 0: // error: a falling "uh-oh"
        Mix(s, Bell(Hz(A4), 0.18, 0.08), R, 0.0);
        Mix(s, Bell(Hz(D4), 0.28, 0.1), R, 0.15);
        break;
    case 1: { // refused: two low, muffled knocks
        TTone knock;
        knock.Wave = TWave::Triangle;
        knock.From = Hz(G3);
        knock.To = Hz(G3) * 0.9;
        TSamples one = Render(knock, R, 0.08);
        Pluck(one, R, 0.003, 0.025);
        LowPass(one, R, 1500.0);
        Mix(s, one, R, 0.0);
        Mix(s, one, R, 0.11, 0.85f);
        break;
    }
    case 2: { // kill: a long wailing fall and a dull thump
        TTone wail = Warm(660.0, 90.0);
        wail.VibratoHz = 7.0;
        wail.VibratoCents = 60.0;
        TSamples fall = Render(wail, R, 0.75);
        Adsr(fall, R, 0.01, 0.3, 0.6, 0.25);
        Mix(s, fall, R, 0.0);
        TSamples thump = Noise(R, 0.15, 0x4B11u);
        LowPass(thump, R, 300.0);
        Pluck(thump, R, 0.002, 0.04);
        Mix(s, thump, R, 0.0, 1.5f);
        break;
    }
    case 3: // win: a rising arpeggio to a ringing top note
        s = Run({C5, E5, G5}, 0.09, 0.3);
        Mix(s, Bell(Hz(C6), 0.5, 0.16), R, 0.27);
        break;
    case 4: { // stone: a short, low thud
        TSamples body = Render(Warm(220.0, 80.0), R, 0.08);
        Pluck(body, R, 0.002, 0.02);
        TSamples grit = Noise(R, 0.03, 0x570Eu);
        LowPass(grit, R, 800.0);
        Pluck(grit, R, 0.001, 0.006);
        Mix(s, body, R, 0.0);
        Mix(s, grit, R, 0.0, 0.8f);
        break;
    }
    case 5: { // box: a hollow wooden clunk
        TSamples wood = Noise(R, 0.11, 0xB0Bu);
        BandPass(wood, R, 350.0, 6.0);
        Pluck(wood, R, 0.001, 0.02);
        TTone hollow;
        hollow.Wave = TWave::Triangle;
        hollow.From = 260.0;
        hollow.To = 200.0;
        TSamples body = Render(hollow, R, 0.11);
        Pluck(body, R, 0.002, 0.025);
        Mix(s, wood, R, 0.0, 2.0f);
        Mix(s, body, R, 0.0, 0.6f);
        break;
    }
    case 6: { // bomb: a roaring burst over a deep boom
        TSamples roar = Noise(R, 1.0, 0xB00Au);
        LowPassSweep(roar, R, 5000.0, 150.0);
        Pluck(roar, R, 0.003, 0.16);
        TSamples boom = Render(Warm(70.0, 35.0), R, 0.6);
        Pluck(boom, R, 0.004, 0.14);
        Mix(s, roar, R, 0.0);
        Mix(s, boom, R, 0.0, 0.7f);
        Saturate(s, 3.0f);
        break;
    }
    case 7: { // de-box: a swelling suck inwards, cut off by a snap
        TSamples suck = Noise(R, 0.3, 0xDEB0u);
        LowPassSweep(suck, R, 300.0, 3000.0);
        Ramp(suck, 0.0f, 1.0f);
        TSamples fall = Render(Warm(520.0, 130.0), R, 0.3);
        Ramp(fall, 0.1f, 1.0f);
        TSamples snap = Bell(180.0, 0.08, 0.015);
        Mix(s, suck, R, 0.0, 1.4f);
        Mix(s, fall, R, 0.0, 0.5f);
        Mix(s, snap, R, 0.3);
        break;
    }
    case 8: { // pick: a short, bright upward blip
        TTone blip = Warm(1320.0, 1980.0);
        blip.Overtones = {0.2};
        s = Render(blip, R, 0.06);
        Pluck(s, R, 0.002, 0.02);
        break;
    }
    case 9: // all levels: a fanfare ending on a full held chord
        s = Run({G4, C5, E5, G5}, 0.13, 0.3);
        Mix(s, Held({C5, E5, G5, C6}, 1.1, 0.45), R, 0.52);
        break;
    case 10: { // snapshot: shutter click, a faint whir, the second click
        TSamples click = Noise(R, 0.006, 0x5A9u);
        HighPass(click, R, 2000.0);
        Pluck(click, R, 0.0005, 0.0015);
        TSamples whir = Noise(R, 0.05, 0x5AAu);
        BandPass(whir, R, 1200.0, 4.0);
        Adsr(whir, R, 0.01, 0.0, 1.0, 0.02);
        Mix(s, click, R, 0.0);
        Mix(s, whir, R, 0.012, 0.5f);
        Mix(s, click, R, 0.07, 0.7f);
        break;
    }
    case 11: { // restore: a rising sweep with a soft echo
        TTone sweep = Warm(330.0, 990.0);
        sweep.Wave = TWave::Triangle;
        s = Render(sweep, R, 0.22);
        Adsr(s, R, 0.02, 0.1, 0.7, 0.08);
        Echo(s, R, 0.05, 0.4, 2);
        break;
    }
    case 12: // input: a two-note question chime
        Mix(s, Bell(Hz(B5), 0.1, 0.04), R, 0.0);
        Mix(s, Bell(Hz(E6), 0.13, 0.05), R, 0.09);
        break;
    case 13: // ta-da: a grace note, then a bright chord
        s = Bell(Hz(G4), 0.14, 0.05);
        Mix(s, Held({C5, E5, G5}, 0.7, 0.3), R, 0.11);
        break;
    case 14: // champion: a quick climbing call and a high chord
        s = Run({G4, C5, E5, G5, E5}, 0.1, 0.22);
        Mix(s, Held({G5, C6, E6}, 0.65, 0.3), R, 0.5);
        Echo(s, R, 0.12, 0.25, 1);
        break;
    case 15: // exit: a descending farewell
        s = Run({G5, E5}, 0.15, 0.25);
        Mix(s, Bell(Hz(C5), 0.4, 0.12), R, 0.3);
        break;
    default:
        break;
    }
    return Finished(std::move(s), R, ClassicPeak);
}

// ---- Arcade: square waves, coarse noise, quick sweeps ----

constexpr int ArcadeRate = 22050;

TSamples Chip(double from, double to, double seconds, double duty = 0.5) {
    TTone tone;
    tone.Wave = TWave::Square;
    tone.From = from;
    tone.To = to;
    tone.Duty = duty;
    TSamples s = Render(tone, ArcadeRate, seconds);
    LowPass(s, ArcadeRate, 6000.0); // takes the worst edge off the steps
    return s;
}

// A plain square note with a flat envelope and a quick release.
TSamples Beep(double hz, double seconds, double duty = 0.5) {
    TSamples s = Chip(hz, 0.0, seconds, duty);
    Adsr(s, ArcadeRate, 0.002, 0.0, 1.0, 0.01);
    return s;
}

// Square notes one after another.
TSamples Tune(std::initializer_list<int> keys, double step, double duty = 0.5) {
    TSamples tune;
    for (int key : keys)
        tune = Then(std::move(tune), Beep(Hz(key), step, duty));
    return tune;
}

TSamples Hiss(double seconds, std::uint32_t seed, double holdHz) {
    return Noise(ArcadeRate, seconds, seed, holdHz);
}

TSamples ArcadeEffect(std::size_t index) {
    constexpr int R = ArcadeRate;
    TSamples s;
    switch (index) {
    case 0: // error: two low buzzes
        Mix(s, Beep(220.0, 0.12, 0.25), R, 0.0);
        Mix(s, Beep(165.0, 0.16, 0.25), R, 0.16);
        break;
    case 1: // refused: a short sagging growl
        s = Chip(110.0, 85.0, 0.15, 0.125);
        Adsr(s, R, 0.003, 0.05, 0.6, 0.03);
        break;
    case 2: { // kill: a wobbling dive and a crackle
        TTone dive;
        dive.Wave = TWave::Square;
        dive.From = 880.0;
        dive.To = 110.0;
        dive.VibratoHz = 12.0;
        dive.VibratoCents = 80.0;
        s = Render(dive, R, 0.6);
        Adsr(s, R, 0.003, 0.0, 1.0, 0.05);
        TSamples crackle = Hiss(0.2, 0xC0DEu, 2000.0);
        Pluck(crackle, R, 0.002, 0.05);
        Mix(s, crackle, R, 0.6);
        break;
    }
    case 3: // win: a rapid climb and a held top note
        s = Tune({C5, E5, G5, C6, E6, G6}, 0.06);
        s = Then(std::move(s), Beep(Hz(C7), 0.25, 0.25));
        break;
    case 4: { // stone: a coarse tick over a low square
        s = Hiss(0.06, 0x57u, 3000.0);
        Pluck(s, R, 0.001, 0.012);
        TSamples low = Chip(110.0, 70.0, 0.06);
        Pluck(low, R, 0.001, 0.015);
        Mix(s, low, R, 0.0, 0.6f);
        break;
    }
    case 5: { // box: a quick falling blip and a tick
        s = Chip(330.0, 165.0, 0.09, 0.25);
        Pluck(s, R, 0.001, 0.03);
        TSamples tick = Hiss(0.02, 0xB0Cu, 6000.0);
        Pluck(tick, R, 0.0005, 0.005);
        Mix(s, tick, R, 0.0, 0.6f);
        break;
    }
    case 6: { // bomb: a coarse rumbling burst
        s = Hiss(0.8, 0xB0B0u, 1800.0);
        LowPassSweep(s, R, 6000.0, 400.0);
        Pluck(s, R, 0.002, 0.15);
        Crush(s, 12);
        break;
    }
    case 7: // de-box: a rising whine that swells and stops dead
        s = Chip(200.0, 1200.0, 0.3, 0.25);
        Ramp(s, 0.15f, 1.0f);
        Mix(s, Beep(Hz(C4), 0.05), R, 0.3);
        break;
    case 8: // pick: a two-step coin blip
        s = Then(Beep(Hz(C6), 0.03, 0.25), Beep(Hz(G6), 0.06, 0.25));
        break;
    case 9: { // all levels: a chip fanfare over a triangle bass
        s = Tune({C5, E5, G5}, 0.1);
        s = Then(std::move(s), Beep(Hz(C6), 0.2));
        s = Then(std::move(s), Beep(Hz(G5), 0.1));
        TTone top;
        top.Wave = TWave::Square;
        top.From = Hz(C6);
        top.VibratoHz = 6.0;
        top.VibratoCents = 25.0;
        TSamples last = Render(top, R, 0.55);
        Adsr(last, R, 0.002, 0.1, 0.7, 0.15);
        s = Then(std::move(s), last);
        TTone bass;
        bass.Wave = TWave::Triangle;
        bass.From = Hz(C4) / 2.0;
        TSamples under = Render(bass, R, 1.25);
        Adsr(under, R, 0.01, 0.0, 1.0, 0.2);
        Mix(s, under, R, 0.0, 0.6f);
        break;
    }
    case 10: { // snapshot: two sharp clicks
        TSamples click = Hiss(0.012, 0x5Au, 8000.0);
        Pluck(click, R, 0.0005, 0.003);
        Mix(s, click, R, 0.0);
        Mix(s, click, R, 0.055, 0.7f);
        break;
    }
    case 11: { // restore: a warbling climb
        TTone warble;
        warble.Wave = TWave::Square;
        warble.From = 400.0;
        warble.To = 1600.0;
        warble.Duty = 0.25;
        warble.VibratoHz = 20.0;
        warble.VibratoCents = 100.0;
        s = Render(warble, R, 0.25);
        Adsr(s, R, 0.003, 0.0, 1.0, 0.05);
        break;
    }
    case 12: // input: two quick high beeps
        s = Then(Beep(Hz(G6) / 2.0, 0.05, 0.25), Beep(Hz(C7) / 2.0, 0.08, 0.25));
        break;
    case 13: { // ta-da: a pickup note and a long bright one
        s = Beep(Hz(G5), 0.08, 0.25);
        TTone tone;
        tone.Wave = TWave::Square;
        tone.From = Hz(C6);
        tone.Duty = 0.25;
        tone.VibratoHz = 6.0;
        tone.VibratoCents = 30.0;
        TSamples held = Render(tone, R, 0.4);
        Adsr(held, R, 0.002, 0.1, 0.7, 0.12);
        s = Then(std::move(s), held);
        break;
    }
    case 14: { // champion: a climbing arpeggio, twice, then a two-voice chord
        s = Tune({C5, E5, G5, C6, E6, G6, C7, G6}, 0.05, 0.25);
        TSamples chord = Beep(Hz(C6), 0.5);
        Mix(chord, Beep(Hz(G6), 0.5, 0.25), R, 0.0, 0.8f);
        Adsr(chord, R, 0.0, 0.1, 0.7, 0.15);
        s = Then(std::move(s), chord);
        break;
    }
    case 15: { // exit: a falling goodbye
        s = Tune({C6, G5, E5}, 0.1);
        TSamples last = Beep(Hz(C5), 0.25);
        Ramp(last, 1.0f, 0.2f);
        s = Then(std::move(s), last);
        break;
    }
    default:
        break;
    }
    return Finished(std::move(s), R, ArcadePeak);
}

} // namespace

const std::vector<TSoundSet>& SoundSets() {
    static const std::vector<TSoundSet> sets = {
        {"Classic", ClassicRate, &ClassicEffect},
        {"Arcade", ArcadeRate, &ArcadeEffect},
    };
    return sets;
}

} // namespace tb::synth
