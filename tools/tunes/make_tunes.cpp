// make_tunes: writes Morvane's eight built-in background tunes,
// skinmaker/data/music/1.mid ... 8.mid, as Standard MIDI Files (format 1, 480 ticks a beat).
//
// This file is the score. Each tune below is written out in numbered notation
// (jianpu) and a chord chart; the arranging functions turn those into General MIDI
// tracks (melody, accompaniment, pad, bass, sometimes a light percussion track).
// Nothing is random: the same source always writes the same bytes.
//
// Usage: make_tunes <repo-root> [--check | --stems <dir>]
//   writes <repo-root>/skinmaker/data/music/N.mid; with --check, writes nothing and
//   fails unless every existing file is byte-for-byte what this source produces;
//   with --stems, writes only <dir>/N-T.mid, tune N with nothing but its track T sounding.
//
// ---------------------------------------------------------------------------------
// Melody notation (one token per note, tokens separated by blanks):
//   1 .. 7   degree of the major scale whose "1" is the tune's tonic; 0 is a rest
//   #4, b7   raised or lowered degree
//   '  ,     after the digit: one octave up / down (may repeat: 1'' or 5,,)
//   /        halves the length (a plain note is one beat; 3/ an eighth, 3// a sixteenth)
//   .        dotted: one and a half times the length (5. , 1'/. )
//   -        holds the previous note (or rest) one beat longer, across bar lines too
//   (6)5     grace note 6 struck just before 5
//   |        bar line; every bar is checked to be exactly full
// Chord chart: per bar, one or more slots of equal length, separated by "|":
//   1 4 5 6m 2m 3m  degree of the root and quality: (major) m 7 M7 m7 s2 s4 a9 6
//   -               the previous chord for one more slot;  0  no chord
// ---------------------------------------------------------------------------------

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int PPQ = 480;

[[noreturn]] void fail(const std::string &message)
{
    std::fprintf(stderr, "make_tunes: %s\n", message.c_str());
    std::exit(1);
}

std::vector<std::string> tokens(std::string text)
{
    for (size_t i = text.find('|'); i != std::string::npos; i = text.find('|', i + 3))
        text.replace(i, 1, " | ");
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

int degreeSemitones(int degree)
{
    static const int steps[] = {0, 2, 4, 5, 7, 9, 11};
    return steps[degree - 1];
}

// ---------------------------------------------------------------- melody lines

struct Note {
    int tick;
    int duration;
    int pitch;
    int velocity = 0;
    bool grace = false;
};

struct Line {
    std::vector<Note> notes;
    int length = 0;
};

// Reads one pitch token ("#4'", "5,,", "1") relative to the tonic; returns the rest of the token.
int readPitch(const std::string &token, size_t &i, int tonic, const std::string &where)
{
    int shift = 0;
    if (i < token.size() && (token[i] == '#' || token[i] == 'b')) {
        shift = token[i] == '#' ? 1 : -1;
        ++i;
    }
    if (i >= token.size() || token[i] < '0' || token[i] > '7')
        fail(where + ": bad note \"" + token + "\"");
    const int degree = token[i++] - '0';
    int octave = 0;
    while (i < token.size() && (token[i] == '\'' || token[i] == ',')) {
        octave += token[i] == '\'' ? 1 : -1;
        ++i;
    }
    if (degree == 0)
        return -1;
    return tonic + degreeSemitones(degree) + shift + 12 * octave;
}

Line parseMelody(const std::string &text, int tonic, int barTicks, const std::string &where)
{
    Line line;
    int tick = 0;
    int barStart = 0;
    int bar = 1;
    int lastNote = -1; // index into line.notes of the note a "-" would hold, -1 after a rest
    for (const std::string &token : tokens(text)) {
        if (token == "|") {
            if (tick - barStart != barTicks)
                fail(where + ": bar " + std::to_string(bar) + " holds " + std::to_string(tick - barStart)
                     + " ticks, not " + std::to_string(barTicks));
            barStart = tick;
            ++bar;
            continue;
        }
        if (token == "-") {
            if (lastNote >= 0)
                line.notes[lastNote].duration += PPQ;
            tick += PPQ;
            continue;
        }
        size_t i = 0;
        int grace = -1;
        if (token[0] == '(') {
            i = 1;
            grace = readPitch(token, i, tonic, where);
            if (i >= token.size() || token[i] != ')' || grace < 0)
                fail(where + ": bad grace note \"" + token + "\"");
            ++i;
        }
        const int pitch = readPitch(token, i, tonic, where);
        int duration = PPQ;
        bool dotted = false;
        for (; i < token.size(); ++i) {
            if (token[i] == '/')
                duration /= 2;
            else if (token[i] == '.')
                dotted = true;
            else
                fail(where + ": bad note \"" + token + "\"");
        }
        if (dotted)
            duration = duration * 3 / 2;
        if (pitch < 0) {
            lastNote = -1;
        } else {
            int start = tick;
            int length = duration;
            if (grace >= 0) {
                const int graceLength = PPQ / 8;
                line.notes.push_back({tick, graceLength, grace, 0, true});
                start += graceLength;
                length -= graceLength;
            }
            line.notes.push_back({start, length, pitch});
            lastNote = int(line.notes.size()) - 1;
        }
        tick += duration;
    }
    if (tick - barStart != 0 && tick - barStart != barTicks)
        fail(where + ": last bar holds " + std::to_string(tick - barStart) + " ticks");
    line.length = tick;
    return line;
}

// ---------------------------------------------------------------- chord charts

struct Chord {
    int tick;
    int duration;
    int root = 0; // semitones above the tonic's pitch class
    std::vector<int> intervals; // above the root; empty = no chord
};

std::vector<int> qualityIntervals(const std::string &quality, const std::string &where)
{
    static const std::map<std::string, std::vector<int>> table = {
        {"", {0, 4, 7}},   {"m", {0, 3, 7}},  {"7", {0, 4, 7, 10}},  {"M7", {0, 4, 7, 11}}, {"m7", {0, 3, 7, 10}},
        {"s2", {0, 2, 7}}, {"s4", {0, 5, 7}}, {"a9", {0, 4, 7, 14}}, {"6", {0, 4, 7, 9}},
    };
    const auto found = table.find(quality);
    if (found == table.end())
        fail(where + ": unknown chord quality \"" + quality + "\"");
    return found->second;
}

std::vector<Chord> parseChords(const std::string &text, int barTicks, const std::string &where)
{
    std::vector<Chord> chords;
    std::vector<std::vector<std::string>> bars(1);
    for (const std::string &token : tokens(text)) {
        if (token == "|")
            bars.emplace_back();
        else
            bars.back().push_back(token);
    }
    if (bars.back().empty())
        bars.pop_back();
    int tick = 0;
    for (size_t b = 0; b < bars.size(); ++b) {
        const auto &slots = bars[b];
        if (slots.empty() || barTicks % int(slots.size()) != 0)
            fail(where + ": chord bar " + std::to_string(b + 1) + " cannot be split evenly");
        const int slot = barTicks / int(slots.size());
        for (const std::string &token : slots) {
            if (token == "-") {
                if (chords.empty())
                    fail(where + ": chart starts with \"-\"");
                chords.back().duration += slot;
            } else if (token == "0") {
                chords.push_back({tick, slot, 0, {}});
            } else {
                size_t i = 0;
                int shift = 0;
                if (token[i] == '#' || token[i] == 'b') {
                    shift = token[i] == '#' ? 1 : -1;
                    ++i;
                }
                if (i >= token.size() || token[i] < '1' || token[i] > '7')
                    fail(where + ": bad chord \"" + token + "\"");
                const int root = (degreeSemitones(token[i] - '0') + shift + 12) % 12;
                chords.push_back({tick, slot, root, qualityIntervals(token.substr(i + 1), where)});
            }
            tick += slot;
        }
    }
    return chords;
}

// ---------------------------------------------------------------- tracks and events

struct Control {
    int tick;
    int controller;
    int value;
};

struct Track {
    std::string name;
    int channel = 0;
    int program = 0; // -1 for the percussion channel
    int volume = 96; // CC7
    int pan = 64; // CC10
    int reverb = 48; // CC91
    int chorus = 0; // CC93
    std::vector<Note> notes;
    std::vector<Control> controls;
};

struct Tune {
    int number = 0;
    std::string nameAscii; // sequence name (meta 03)
    std::string nameText; // title and origin, UTF-8 (meta 01)
    int tonic = 60; // MIDI note of the melody's "1"; also names the key
    int tempo = 90; // beats a minute
    int beatsPerBar = 4;
    int keySharps = 0; // key signature: sharps (>0) or flats (<0)
    bool minorKey = false;
    int ritardandoBeats = 4; // the last beats slow down gradually ...
    double ritardandoTo = 0.7; // ... to this share of the tempo
    std::vector<Track> tracks;
    int length = 0; // ticks of music, without the closing tail

    int barTicks() const { return beatsPerBar * PPQ; }
};

// A small fixed generator so that accompaniment velocities breathe a little, reproducibly.
struct Wobble {
    uint32_t state;
    explicit Wobble(uint32_t seed) : state(seed * 2654435761u + 12345u) {}
    int next(int spread)
    {
        state = state * 1664525u + 1013904223u;
        return int((state >> 16) % uint32_t(2 * spread + 1)) - spread;
    }
};

int clampVelocity(int v)
{
    return std::clamp(v, 1, 127);
}

bool inBars(int tick, int barTicks, int fromBar, int toBar)
{
    const int bar = tick / barTicks;
    return bar >= fromBar && bar < toBar;
}

// Every pitch of the chord's pitch classes within [low, high].
std::vector<int> chordPitches(const Chord &chord, int tonic, int low, int high)
{
    std::vector<int> pitches;
    for (int p = low; p <= high; ++p) {
        const int rel = ((p - tonic) % 12 + 12) % 12;
        for (int iv : chord.intervals)
            if ((chord.root + iv) % 12 == rel) {
                pitches.push_back(p);
                break;
            }
    }
    return pitches;
}

// The lowest root of the chord at or above `low`.
int rootAtOrAbove(const Chord &chord, int tonic, int low)
{
    int p = low;
    while (((p - tonic) % 12 + 12) % 12 != chord.root)
        ++p;
    return p;
}

// Close-position voicing of `count` notes whose average lies nearest `centre`.
std::vector<int> closeVoicing(const Chord &chord, int tonic, int centre, int count)
{
    const std::vector<int> pool = chordPitches(chord, tonic, centre - 14, centre + 14);
    std::vector<int> best;
    double bestDistance = 1e9;
    for (size_t i = 0; i + count <= pool.size(); ++i) {
        double sum = 0;
        for (int k = 0; k < count; ++k)
            sum += pool[i + k];
        const double distance = std::abs(sum / count - centre);
        if (distance < bestDistance) {
            bestDistance = distance;
            best.assign(pool.begin() + long(i), pool.begin() + long(i) + count);
        }
    }
    return best;
}

// Arpeggio tones: the chord's notes from its root at or above `low`, two octaves up.
std::vector<int> arpeggioTones(const Chord &chord, int tonic, int low)
{
    const int root = rootAtOrAbove(chord, tonic, low);
    return chordPitches(chord, tonic, root, root + 24);
}

// ---------------------------------------------------------------- arranging

struct MelodyStyle {
    int velocity = 88;
    double gate = 0.95; // share of each note's length that sounds
    int vibrato = 0; // CC1 depth reached on long notes (0: none)
    int tremoloFrom = 0; // notes at least this long are played as repeated strokes (0: never)
    int tremoloStep = PPQ / 8;
    int transpose = 0;
    int fromBar = 0, toBar = 1 << 20;
};

void addMelody(Track &track, const Line &line, const Tune &tune, const MelodyStyle &style)
{
    const int barTicks = tune.barTicks();
    for (const Note &note : line.notes) {
        if (!inBars(note.tick, barTicks, style.fromBar, style.toBar))
            continue;
        int velocity = style.velocity;
        const int inBar = note.tick % barTicks;
        if (inBar == 0)
            velocity += 5;
        else if (inBar % PPQ == 0)
            velocity += 1;
        else
            velocity -= 4;
        if (note.duration >= 2 * PPQ)
            velocity += 3;
        if (note.grace)
            velocity -= 14;
        velocity = clampVelocity(velocity);
        const int pitch = note.pitch + style.transpose;
        if (style.tremoloFrom > 0 && note.duration >= style.tremoloFrom) {
            // Plucked strings keep a long note alive by rapid repeated strokes.
            int k = 0;
            for (int t = 0; t + style.tremoloStep <= note.duration; t += style.tremoloStep, ++k) {
                const int v = k == 0 ? velocity : velocity - 18 + (k % 2 ? 0 : 4) - std::min(k / 6, 8);
                track.notes.push_back({note.tick + t, style.tremoloStep, pitch, clampVelocity(v)});
            }
            continue;
        }
        const int sounding = std::max(PPQ / 16, int(note.duration * style.gate));
        track.notes.push_back({note.tick, sounding, pitch, velocity});
        if (style.vibrato > 0 && !note.grace) {
            track.controls.push_back({note.tick, 1, 0});
            if (note.duration >= PPQ * 3 / 2) {
                const int start = note.tick + std::min(note.duration / 3, PPQ / 2);
                const int span = PPQ / 2;
                for (int t = 0; t <= span; t += 40) {
                    if (start + t >= note.tick + note.duration)
                        break;
                    track.controls.push_back({start + t, 1, style.vibrato * t / span});
                }
            }
        }
    }
}

struct ChordStyle {
    int velocity = 50;
    int fromBar = 0, toBar = 1 << 20;
};

bool isLast(const std::vector<Chord> &chords, const Chord &chord)
{
    return &chord == &chords.back();
}

// Sustained chords (strings, pads, choir) in close position around `centre`.
void addPad(Track &track, const std::vector<Chord> &chords, const Tune &tune, int centre, int count,
            const ChordStyle &style)
{
    Wobble wobble(uint32_t(tune.number * 31 + track.channel));
    for (const Chord &chord : chords) {
        if (chord.intervals.empty() || !inBars(chord.tick, tune.barTicks(), style.fromBar, style.toBar))
            continue;
        const int velocity = clampVelocity(style.velocity + wobble.next(2));
        for (int p : closeVoicing(chord, tune.tonic, centre, count))
            track.notes.push_back({chord.tick, chord.duration - (isLast(chords, chord) ? 0 : 10), p, velocity});
    }
}

// Broken chords (guzheng, harp, guitar, piano): one stroke every `step` ticks following
// `pattern`, indices into the chord's tones from its root at or above `low`. Each stroke
// rings for `ring` steps (not past the chord). The last chord is rolled once and held.
void addArpeggio(Track &track, const std::vector<Chord> &chords, const Tune &tune, int low,
                 const std::vector<int> &pattern, int step, int ring, const ChordStyle &style)
{
    Wobble wobble(uint32_t(tune.number * 37 + track.channel));
    const int barTicks = tune.barTicks();
    for (const Chord &chord : chords) {
        if (chord.intervals.empty() || !inBars(chord.tick, barTicks, style.fromBar, style.toBar))
            continue;
        const std::vector<int> tones = arpeggioTones(chord, tune.tonic, low);
        if (isLast(chords, chord)) {
            const int roll = PPQ / 10;
            for (size_t k = 0; k < tones.size(); ++k) {
                const int start = chord.tick + int(k) * roll;
                track.notes.push_back(
                    {start, chord.tick + chord.duration - start, tones[k], clampVelocity(style.velocity + 4 - int(k))});
            }
            continue;
        }
        // The pattern restarts on every bar line so that bar halves match.
        for (int t = chord.tick; t < chord.tick + chord.duration; t += step) {
            const int index = pattern[size_t((t % barTicks) / step) % pattern.size()];
            const int pitch = tones[size_t(index) % tones.size()] + 12 * (index / int(tones.size()));
            int velocity = style.velocity + wobble.next(3);
            if (t % barTicks == 0)
                velocity += 6;
            else if (t % PPQ == 0)
                velocity += 2;
            const int length = std::min(step * ring, chord.tick + chord.duration - t);
            track.notes.push_back({t, length, pitch, clampVelocity(velocity)});
        }
    }
}

// Short chords struck at given offsets within each bar (offbeat "pah", pizzicato, vibraphone).
void addComp(Track &track, const std::vector<Chord> &chords, const Tune &tune, int centre, int count,
             const std::vector<int> &offsets, int length, const ChordStyle &style)
{
    Wobble wobble(uint32_t(tune.number * 41 + track.channel));
    const int barTicks = tune.barTicks();
    for (const Chord &chord : chords) {
        if (chord.intervals.empty() || !inBars(chord.tick, barTicks, style.fromBar, style.toBar))
            continue;
        const std::vector<int> voicing = closeVoicing(chord, tune.tonic, centre, count);
        if (isLast(chords, chord)) {
            for (size_t k = 0; k < voicing.size(); ++k)
                track.notes.push_back({chord.tick + int(k) * 20, chord.duration - int(k) * 20, voicing[k],
                                       clampVelocity(style.velocity + 2)});
            continue;
        }
        const int barStart = chord.tick - chord.tick % barTicks;
        for (int offset : offsets) {
            const int t = barStart + offset;
            if (t < chord.tick || t >= chord.tick + chord.duration)
                continue;
            const int velocity = clampVelocity(style.velocity + wobble.next(3));
            for (int p : voicing)
                track.notes.push_back({t, std::min(length, chord.tick + chord.duration - t), p, velocity});
        }
    }
}

enum class BassStyle {
    Held, // the root for the whole chord
    Halves, // the root, then the fifth halfway through a chord of a bar or more
    Steps, // root and fifth in turn on every beat, short
    Waltz, // the root on the bar's first beat, held through the bar (3/4)
};

void addBass(Track &track, const std::vector<Chord> &chords, const Tune &tune, int low, BassStyle bassStyle,
             const ChordStyle &style)
{
    Wobble wobble(uint32_t(tune.number * 43 + track.channel));
    const int barTicks = tune.barTicks();
    for (const Chord &chord : chords) {
        if (chord.intervals.empty() || !inBars(chord.tick, barTicks, style.fromBar, style.toBar))
            continue;
        const int root = rootAtOrAbove(chord, tune.tonic, low);
        int fifth = root + chord.intervals[chord.intervals.size() > 2 ? 2 : 1];
        if (fifth > low + 14)
            fifth -= 12;
        auto put = [&](int t, int length, int pitch, int accent) {
            track.notes.push_back({t, length, pitch, clampVelocity(style.velocity + accent + wobble.next(2))});
        };
        if (isLast(chords, chord) || bassStyle == BassStyle::Held || bassStyle == BassStyle::Waltz) {
            put(chord.tick, chord.duration - 10, root, 4);
        } else if (bassStyle == BassStyle::Halves) {
            if (chord.duration >= barTicks && chord.duration % (2 * PPQ) == 0) {
                put(chord.tick, chord.duration / 2 - 10, root, 4);
                put(chord.tick + chord.duration / 2, chord.duration / 2 - 10, fifth, 0);
            } else {
                put(chord.tick, chord.duration - 10, root, 4);
            }
        } else {
            int k = 0;
            for (int t = chord.tick; t < chord.tick + chord.duration; t += PPQ, ++k)
                put(t, PPQ * 11 / 20, k % 2 ? fifth : root, t % barTicks == 0 ? 4 : 0);
        }
    }
}

// Unpitched strokes on the percussion channel: `pattern` holds (offset in bar, key, velocity).
struct Stroke {
    int offset;
    int key;
    int velocity;
};

void addPercussion(Track &track, const Tune &tune, const std::vector<Stroke> &pattern, int fromBar, int toBar)
{
    for (int bar = fromBar; bar < toBar; ++bar)
        for (const Stroke &s : pattern)
            track.notes.push_back({bar * tune.barTicks() + s.offset, PPQ / 8, s.key, s.velocity});
}

Track makeTrack(const std::string &name, int channel, int program, int volume, int pan, int reverb, int chorus = 0)
{
    Track track;
    track.name = name;
    track.channel = channel;
    track.program = program;
    track.volume = volume;
    track.pan = pan;
    track.reverb = reverb;
    track.chorus = chorus;
    return track;
}

// Checks that melody and chord chart have the same length and returns it.
int agree(const Line &melody, const std::vector<Chord> &chords, const std::string &where)
{
    const int chartLength = chords.back().tick + chords.back().duration;
    if (chartLength != melody.length)
        fail(where + ": melody lasts " + std::to_string(melody.length) + " ticks, chords "
             + std::to_string(chartLength));
    return melody.length;
}

// ================================================================= the eight tunes

// 1. 送别 (Songbie, "Farewell"). Melody: "Dreaming of Home and Mother", John Pond Ordway
//    (died 1880), published 1851; sung in China since the 1910s with Li Shutong's words.
//    Flute (for the dizi) over guzheng-like koto, strings and cello. F major, 4/4.
Tune tune1()
{
    Tune tune;
    tune.number = 1;
    tune.nameAscii = "Songbie (Farewell)";
    tune.nameText =
        "\xE9\x80\x81\xE5\x88\xAB (Songbie) - melody J. P. Ordway 1851, public domain; arranged for Morvane";
    tune.tonic = 77; // F5
    tune.tempo = 66;
    tune.keySharps = -1;
    tune.ritardandoBeats = 6;
    tune.ritardandoTo = 0.72;
    const std::string melody =
        "0 0 0 0 | 0 0 0 0 |" // intro
        "5 3/ 5/ 1' - | 6 1' 5 - | 5 1/ 2/ 3 2/ 1/ | 2 - - - |" // 长亭外，古道边，芳草碧连天
        "5 3/ 5/ 1'. 7/ | 6 1' 5 - | 5 2/ 3/ 4. 7,/ | 1 - - - |" // 晚风拂柳笛声残，夕阳山外山
        "6 1' 1' - | 7 6/ 7/ 1' - | 6/ 7/ 1'/ 6/ 6/ 5/ 3/ 1/ | 2 - - - |" // 天之涯，地之角，知交半零落
        "5 3/ 5/ 1'. 7/ | 6 1' 5 - | 5 2/ 3/ 4. 7,/ | 1 - - - |" // 一觚浊酒尽余欢，今宵别梦寒
        "5 3/ 5/ 1' - | 1' - - - |"; // echo of the opening
    const std::string chart = "1 | 4 5 |"
                              "1 | 4 1 | 1 | 5 |"
                              "1 | 4 1 | 1 57 | 1 |"
                              "4 | 5 1 | 4 6m | 5 |"
                              "1 | 4 1 | 1 57 | 1 |"
                              "1 4 | 1 |";
    const std::string where = "tune 1";
    const Line line = parseMelody(melody, tune.tonic, tune.barTicks(), where);
    const auto chords = parseChords(chart, tune.barTicks(), where);
    tune.length = agree(line, chords, where);

    Track flute = makeTrack("Flute (dizi)", 0, 73, 100, 64, 56);
    MelodyStyle lead;
    lead.velocity = 84;
    lead.vibrato = 36;
    addMelody(flute, line, tune, lead);

    Track koto = makeTrack("Koto (guzheng)", 1, 107, 92, 44, 60);
    ChordStyle arp;
    arp.velocity = 70;
    addArpeggio(koto, chords, tune, 53, {0, 2, 3, 4, 5, 4, 3, 2}, PPQ / 2, 3, arp);

    Track strings = makeTrack("Strings", 2, 48, 88, 84, 64, 20);
    ChordStyle pad;
    pad.velocity = 27;
    pad.fromBar = 2;
    addPad(strings, chords, tune, 62, 3, pad);

    Track cello = makeTrack("Cello", 3, 42, 92, 58, 48);
    ChordStyle bass;
    bass.velocity = 56;
    addBass(cello, chords, tune, 41, BassStyle::Halves, bass);

    tune.tracks = {flute, koto, strings, cello};
    return tune;
}

// 2. 友谊地久天长 ("Auld Lang Syne"). Traditional Scottish melody (words Robert Burns,
//    1788; tune as printed 1799). Clarinet, nylon guitar, slow strings, bass. G major, 4/4.
Tune tune2()
{
    Tune tune;
    tune.number = 2;
    tune.nameAscii = "Youyi Dijiu Tianchang (Auld Lang Syne)";
    tune.nameText = "\xE5\x8F\x8B\xE8\xB0\x8A\xE5\x9C\xB0\xE4\xB9\x85\xE5\xA4\xA9\xE9\x95\xBF (Auld Lang Syne) - "
                    "traditional Scottish melody, public domain; arranged for Morvane";
    tune.tonic = 67; // G4
    tune.tempo = 80;
    tune.keySharps = 1;
    tune.ritardandoBeats = 6;
    tune.ritardandoTo = 0.7;
    const std::string melody = "0 0 0 0 | 0 0 0 5, |"
                               "1. 1/ 1 3 | 2. 1/ 2 3 | 1. 1/ 3 5 | 6 - - 6 |" // verse
                               "5. 3/ 3 1 | 2. 1/ 2 3 | 1. 6,/ 6, 5, | 1 - - 6 |"
                               "5. 3/ 3 1 | 2. 1/ 2 6 | 5. 3/ 3 5 | 6 - - 1' |" // chorus
                               "5. 3/ 3 1 | 2. 1/ 2 3 | 1. 6,/ 6, 5, | 1 - - - |"
                               "1. 6,/ 6, 5, | 1 - - - |"; // echo of the last line
    const std::string chart = "1 | 4 5 |"
                              "1 | 5 | 1 | 4 |"
                              "1 | 5 | 4 - 2m 5 | 1 - - 4 |"
                              "1 | 5 - 2m - | 1 | 4 |"
                              "1 | 5 | 4 - 2m 5 | 1 |"
                              "4 - 2m 5 | 1 |";
    const std::string where = "tune 2";
    const Line line = parseMelody(melody, tune.tonic, tune.barTicks(), where);
    const auto chords = parseChords(chart, tune.barTicks(), where);
    tune.length = agree(line, chords, where);

    Track clarinet = makeTrack("Clarinet", 0, 71, 98, 64, 50);
    MelodyStyle lead;
    lead.velocity = 82;
    lead.vibrato = 20;
    addMelody(clarinet, line, tune, lead);

    Track guitar = makeTrack("Nylon guitar", 1, 24, 94, 80, 44);
    ChordStyle arp;
    arp.velocity = 60;
    addArpeggio(guitar, chords, tune, 43, {0, 3, 2, 4, 3, 5, 4, 3}, PPQ / 2, 4, arp);

    Track strings = makeTrack("Slow strings", 2, 49, 90, 46, 64, 24);
    ChordStyle pad;
    pad.velocity = 44;
    pad.fromBar = 2;
    addPad(strings, chords, tune, 60, 4, pad);

    Track bass = makeTrack("Acoustic bass", 3, 32, 94, 64, 36);
    ChordStyle low;
    low.velocity = 76;
    addBass(bass, chords, tune, 31, BassStyle::Halves, low);

    tune.tracks = {clarinet, guitar, strings, bass};
    return tune;
}

// 3. 竹林清风 (Zhulin Qingfeng, "Breeze in the Bamboo Grove"). Original melody, D gong
//    (major pentatonic) mode, lively 2/4. Pan flute, pizzicato strings, koto, bass, wood block.
Tune tune3()
{
    Tune tune;
    tune.number = 3;
    tune.nameAscii = "Zhulin Qingfeng (Breeze in the Bamboo Grove)";
    tune.nameText = "\xE7\xAB\xB9\xE6\x9E\x97\xE6\xB8\x85\xE9\xA3\x8E (Zhulin Qingfeng) - original melody for Morvane";
    tune.tonic = 74; // D5
    tune.tempo = 104;
    tune.beatsPerBar = 2;
    tune.keySharps = 2;
    tune.ritardandoBeats = 6;
    tune.ritardandoTo = 0.65;
    const std::string melody =
        "0 0 | 0 0 | 0 0 | 0 0 |"
        "5 6/ 1'/ | 6 5/ 3/ | 2 3/ 5/ | 3 - | 5 6/ 1'/ | 2'/ 1'/ 6/ 5/ | 3 2/ 3/ | 5 - |" // A
        "6 1'/ 6/ | 5 3/ 5/ | 6 5/ 3/ | 2 - | 3 5/ 3/ | 2/ 1/ 6,/ 1/ | 2 3/ 2/ | 1 - |" // A'
        "1'/ 1'/ 6/ 1'/ | 2' 1'/ 6/ | 5/ 6/ 1'/ 2'/ | 3' - | 2'/ 3'/ 2'/ 1'/ | 6 5/ 6/ | 1'/ 2'/ 1'/ 6/ | 5 - |" // B
        "3/ 5/ 6/ 1'/ | 5 3/ 2/ | 1/ 2/ 3/ 5/ | 6 - | 5/ 6/ 5/ 3/ | 2 3/ 5/ | 6,/ 1/ 2/ 3/ | 2 - |" // B'
        "5 6/ 1'/ | 6 5/ 3/ | 2 3/ 5/ | 3 - | 3 5/ 3/ | 2/ 1/ 6,/ 1/ | 2 3/ 2/ | 1 - |" // A''
        "6/ 5/ 3/ 5/ | 6 1' | 5/ 6/ 5/ 3/ | 2 - | 3/ 5/ 2/ 3/ | 1 - | - - |"; // coda
    const std::string chart = "1 | 4 | 1 | 5 |"
                              "1 | 6m | 5 | 3m | 1 | 2m | 1 | 5 |"
                              "4 | 1 | 6m | 5 | 1 | 2m | 5 | 1 |"
                              "4 | 2m | 5 | 1 | 2m | 6m | 4 | 5 |"
                              "6m | 3m | 1 | 4 | 1 | 5 | 2m | 5 |"
                              "1 | 6m | 5 | 3m | 1 | 2m | 5 | 1 |"
                              "4 | 4 | 1 | 5 | 5 | 1 | 1 |";
    const std::string where = "tune 3";
    const Line line = parseMelody(melody, tune.tonic, tune.barTicks(), where);
    const auto chords = parseChords(chart, tune.barTicks(), where);
    tune.length = agree(line, chords, where);
    const int bars = tune.length / tune.barTicks();

    Track panFlute = makeTrack("Pan flute", 0, 75, 100, 64, 52);
    MelodyStyle lead;
    lead.velocity = 86;
    lead.gate = 0.85;
    lead.vibrato = 24;
    addMelody(panFlute, line, tune, lead);

    Track pizzicato = makeTrack("Pizzicato strings", 1, 45, 92, 82, 44);
    ChordStyle comp;
    comp.velocity = 62;
    addComp(pizzicato, chords, tune, 64, 3, {PPQ / 2, PPQ + PPQ / 2}, PPQ / 3, comp);

    Track koto = makeTrack("Koto (guzheng)", 2, 107, 90, 40, 56);
    ChordStyle arp;
    arp.velocity = 50;
    arp.toBar = 4; // intro: sixteenth-note ripples
    addArpeggio(koto, chords, tune, 50, {0, 1, 2, 3, 4, 5, 4, 3}, PPQ / 4, 2, arp);
    arp.fromBar = 4;
    arp.toBar = 20; // A and A': eighths
    addArpeggio(koto, chords, tune, 50, {0, 2, 3, 4}, PPQ / 2, 2, arp);
    arp.fromBar = 20;
    arp.toBar = 36; // B and B': sixteenths
    addArpeggio(koto, chords, tune, 50, {0, 2, 3, 4, 5, 4, 3, 2}, PPQ / 4, 2, arp);
    arp.fromBar = 36;
    arp.toBar = bars; // return and coda
    addArpeggio(koto, chords, tune, 50, {0, 2, 3, 4}, PPQ / 2, 2, arp);

    Track bass = makeTrack("Acoustic bass", 3, 32, 94, 64, 36);
    ChordStyle low;
    low.velocity = 72;
    addBass(bass, chords, tune, 38, BassStyle::Steps, low);

    Track blocks = makeTrack("Wood block", 9, -1, 90, 70, 30);
    addPercussion(blocks, tune, {{0, 77, 40}, {PPQ, 76, 32}, {PPQ + PPQ / 2, 76, 26}}, 4, bars - 2);

    tune.tracks = {panFlute, pizzicato, koto, bass, blocks};
    return tune;
}

// 4. 月下荷塘 (Yuexia Hetang, "Lotus Pond by Moonlight"). Original melody, A yu
//    (minor pentatonic) mode, slow 4/4. Violin in the erhu's range, harp, warm pad, contrabass.
Tune tune4()
{
    Tune tune;
    tune.number = 4;
    tune.nameAscii = "Yuexia Hetang (Lotus Pond by Moonlight)";
    tune.nameText = "\xE6\x9C\x88\xE4\xB8\x8B\xE8\x8D\xB7\xE5\xA1\x98 (Yuexia Hetang) - original melody for Morvane";
    tune.tonic = 72; // C5; the tune rests on 6, = A4
    tune.tempo = 63;
    tune.keySharps = 0;
    tune.minorKey = true;
    tune.ritardandoBeats = 6;
    tune.ritardandoTo = 0.72;
    const std::string melody = "0 0 0 0 | 0 0 0 0 |"
                               "6, 1/ 2/ 3 - | 5/ 3/ 2/ 1/ 2 - | 3 5/ 6/ 5 3/ 2/ | 1 6,/ 1/ 6, - |"
                               "6, 1/ 2/ 3 5 | 6. 5/ 3 2/ 3/ | 1 2/ 3/ 5 6/ 5/ | 3 - - - |"
                               "6 1'/ 2'/ 3' - | 2'/ 1'/ 6/ 5/ 6 - | 5 6/ 1'/ 6 5/ 3/ | 2 3/ 5/ 3 - |"
                               "6, 1/ 2/ 3 5/ 6/ | 1' 6/ 5/ 6 - | 5/ 6/ 5/ 3/ 2 1/ 2/ | 6, - - - |"
                               "0 6,/ 1/ 2 3/ 2/ | 6, - - - |";
    const std::string chart = "6m | 4 5 |"
                              "6m | 5 | 1 3m | 4 6m |"
                              "6m 3m | 4 1 | 1 5 | 3m |"
                              "4 1 | 2m 6m | 1 6m | 5 1 |"
                              "2m 1 | 4 6m | 1 5 | 6m |"
                              "4 5 | 6m |";
    const std::string where = "tune 4";
    const Line line = parseMelody(melody, tune.tonic, tune.barTicks(), where);
    const auto chords = parseChords(chart, tune.barTicks(), where);
    tune.length = agree(line, chords, where);

    Track violin = makeTrack("Violin (erhu)", 0, 40, 98, 64, 64);
    MelodyStyle lead;
    lead.velocity = 80;
    lead.vibrato = 44;
    addMelody(violin, line, tune, lead);

    Track harp = makeTrack("Harp", 1, 46, 94, 40, 64);
    ChordStyle arp;
    arp.velocity = 46;
    addArpeggio(harp, chords, tune, 45, {0, 2, 3, 4, 5, 4, 3, 2}, PPQ / 2, 4, arp);

    Track pad = makeTrack("Warm pad", 2, 89, 88, 88, 70, 30);
    ChordStyle soft;
    soft.velocity = 42;
    addPad(pad, chords, tune, 60, 3, soft);

    Track bass = makeTrack("Contrabass", 3, 43, 92, 64, 48);
    ChordStyle low;
    low.velocity = 58;
    low.fromBar = 2;
    addBass(bass, chords, tune, 33, BassStyle::Held, low);

    tune.tracks = {violin, harp, pad, bass};
    return tune;
}

// 5. 企鹅踏雪 (Qi'e Ta Xue, "Penguin on the Snow"). Original melody, C major, playful 4/4.
//    Marimba, vibraphone off-beats, pizzicato bass, celesta doubling, wood blocks.
Tune tune5()
{
    Tune tune;
    tune.number = 5;
    tune.nameAscii = "Qi'e Ta Xue (Penguin on the Snow)";
    tune.nameText = "\xE4\xBC\x81\xE9\xB9\x85\xE8\xB8\x8F\xE9\x9B\xAA (Qi'e Ta Xue) - original melody for Morvane";
    tune.tonic = 72; // C5
    tune.tempo = 112;
    tune.keySharps = 0;
    tune.ritardandoBeats = 4;
    tune.ritardandoTo = 0.75;
    const std::string a = "1 1/ 3/ 5 3 | 4/ 4/ 6/ 4/ 3 1 | 2/ 2/ 4/ 2/ 7, 5, | 1 3 5 0 |"
                          "1 1/ 3/ 5 3 | 6/ 6/ 5/ 4/ 3 1 | 2/ 3/ 4/ 2/ 5, 7, |";
    const std::string melody = "0 0 0 0 | 0 0 0 0 |" + a
        + " 1 0 1' 0 |"
          "3/ 4/ 5/ 6/ 5 3 | 4/ 5/ 6/ 7/ 6 4 | 5/ 6/ 5/ 4/ 3/ 4/ 3/ 2/ | 1/ 2/ 3/ 4/ 5 0 |"
          "6/ 5/ 6/ 7/ 1' 6 | 5/ 4/ 5/ 6/ 5 3 | 4/ 3/ 2/ 1/ 7,/ 1/ 2/ 7,/ | 5, 0 5, 0 |"
        + a
        + " 1 5, 1 0 |"
          "5/ 4/ 3/ 2/ 1 5, | 1 0 1' 0 |";
    const std::string chartA = "1 | 4 1 | 57 | 1 | 1 | 4 1 | 2m 57 | 1 |";
    const std::string chart =
        "1 | 57 |" + chartA + "1 | 4 | 3m 6m | 2m 5 | 4 | 1 | 2m 57 | 5 |" + chartA + "57 1 | 1 |";
    const std::string where = "tune 5";
    const Line line = parseMelody(melody, tune.tonic, tune.barTicks(), where);
    const auto chords = parseChords(chart, tune.barTicks(), where);
    tune.length = agree(line, chords, where);
    const int bars = tune.length / tune.barTicks();

    Track marimba = makeTrack("Marimba", 0, 12, 100, 64, 40);
    MelodyStyle lead;
    lead.velocity = 96;
    lead.gate = 0.6;
    addMelody(marimba, line, tune, lead);

    Track vibes = makeTrack("Vibraphone", 1, 11, 90, 84, 50);
    ChordStyle comp;
    comp.velocity = 40;
    addComp(vibes, chords, tune, 67, 3, {PPQ, 3 * PPQ}, PPQ / 2, comp);

    Track bass = makeTrack("Pizzicato bass", 2, 45, 96, 56, 36);
    ChordStyle low;
    low.velocity = 56;
    addBass(bass, chords, tune, 40, BassStyle::Steps, low);

    Track celesta = makeTrack("Celesta", 3, 8, 90, 36, 56);
    MelodyStyle twin;
    twin.velocity = 56;
    twin.gate = 0.5;
    twin.transpose = 12;
    twin.fromBar = 18; // the return of the tune and the ending
    addMelody(celesta, line, tune, twin);

    Track blocks = makeTrack("Wood blocks", 9, -1, 90, 64, 30);
    addPercussion(blocks, tune, {{0, 77, 34}, {PPQ, 76, 28}, {2 * PPQ, 77, 30}, {3 * PPQ, 76, 28}}, 2, bars - 1);

    tune.tracks = {marimba, vibes, bass, celesta, blocks};
    return tune;
}

// 6. 江南春雨 (Jiangnan Chunyu, "Spring Rain South of the River"). Original melody,
//    E-flat zhi mode (rests on B-flat), flowing 4/4. Koto lead with tremolo strokes on long
//    notes, piano ripples, slow strings, bass.
Tune tune6()
{
    Tune tune;
    tune.number = 6;
    tune.nameAscii = "Jiangnan Chunyu (Spring Rain South of the River)";
    tune.nameText = "\xE6\xB1\x9F\xE5\x8D\x97\xE6\x98\xA5\xE9\x9B\xA8 (Jiangnan Chunyu) - original melody for Morvane";
    tune.tonic = 75; // E-flat 5
    tune.tempo = 80;
    tune.keySharps = -3;
    tune.ritardandoBeats = 6;
    tune.ritardandoTo = 0.7;
    const std::string a = "3/ 5/ 6/ 1'/ 5 - | 6/ 1'/ 2'/ 3'/ 2'/ 1'/ 6 | 5. 6/ 3 2/ 3/ | 5 - - - |";
    const std::string melody = "0 0 0 0 | 0 0 0 0 |" + a
        + "2/ 3/ 5/ 6/ 1' 6/ 5/ | 3 5/ 3/ 2 1/ 2/ | 3/ 5/ 3/ 2/ 1 6,/ 1/ | 2 - - - |"
          "5/ 6/ 1'/ 2'/ 3' 2'/ 1'/ | 6 5/ 6/ 1' - | 2'. 1'/ 6/ 5/ 3/ 5/ | 6 - - - |"
          "1'/ 6/ 5/ 3/ 5 6/ 1'/ | 2' 1'/ 6/ 5 - | 3/ 5/ 2/ 3/ 1 6,/ 1/ | 5, - - - |"
        + a + "3/ 2/ 1/ 6,/ 1 2/ 3/ | 5, - - - |";
    const std::string chart = "1 | 4 5 |"
                              "1 | 4 2m | 1 6m | 3m |"
                              "2m 4 | 1 5 | 1 4 | 5 |"
                              "1 6m | 4 | 2m 1 | 6m |"
                              "6m 1 | 2m 5 | 1 4 | 5s2 |"
                              "1 | 4 2m | 1 6m | 5s2 |"
                              "6m 4 | 5s2 |";
    const std::string where = "tune 6";
    const Line line = parseMelody(melody, tune.tonic, tune.barTicks(), where);
    const auto chords = parseChords(chart, tune.barTicks(), where);
    tune.length = agree(line, chords, where);

    Track koto = makeTrack("Koto (guzheng)", 0, 107, 100, 60, 60);
    MelodyStyle lead;
    lead.velocity = 84;
    lead.tremoloFrom = 2 * PPQ;
    lead.tremoloStep = PPQ / 8;
    addMelody(koto, line, tune, lead);

    Track piano = makeTrack("Piano", 1, 0, 90, 76, 56);
    ChordStyle arp;
    arp.velocity = 62;
    addArpeggio(piano, chords, tune, 51, {0, 1, 2, 3, 4, 3, 2, 1}, PPQ / 2, 2, arp);

    Track strings = makeTrack("Slow strings", 2, 49, 90, 48, 66, 24);
    ChordStyle pad;
    pad.velocity = 40;
    pad.fromBar = 2;
    addPad(strings, chords, tune, 58, 3, pad);

    Track bass = makeTrack("Acoustic bass", 3, 32, 94, 64, 36);
    ChordStyle low;
    low.velocity = 66;
    addBass(bass, chords, tune, 34, BassStyle::Halves, low);

    tune.tracks = {koto, piano, strings, bass};
    return tune;
}

// 7. 晚风摇篮 (Wanfeng Yaolan, "Evening Breeze Lullaby"). Original melody, B-flat major,
//    3/4. Shakuhachi (for the xiao), music box, choir, fretless bass.
Tune tune7()
{
    Tune tune;
    tune.number = 7;
    tune.nameAscii = "Wanfeng Yaolan (Evening Breeze Lullaby)";
    tune.nameText = "\xE6\x99\x9A\xE9\xA3\x8E\xE6\x91\x87\xE7\xAF\xAE (Wanfeng Yaolan) - original melody for Morvane";
    tune.tonic = 70; // B-flat 4
    tune.tempo = 84;
    tune.beatsPerBar = 3;
    tune.keySharps = -2;
    tune.ritardandoBeats = 6;
    tune.ritardandoTo = 0.7;
    const std::string melody =
        "0 0 0 | 0 0 0 |"
        "1 - 2/ 3/ | 5 - 3 | 2 - 1/ 2/ | 3 - - | 5 - 6/ 5/ | 3 - 2 | 1 - 6,/ 1/ | 2 - - |"
        "3 - 5/ 6/ | 1' - 6 | 5 - 3/ 5/ | 6 - - | 5 - 3/ 2/ | 1 - 6, | 2 - 3/ 2/ | 1 - - |"
        "1 - 2/ 3/ | 5 - 6/ 1'/ | 2' - 1'/ 6/ | 5 - - | 6 - 5/ 3/ | 2 - 3/ 5/ | 2 - 1/ 6,/ | 1 - - |"
        "5, - 6,/ 1/ | 1 - - |";
    const std::string chart = "1 | 4 |"
                              "1 | 3m | 5 | 6m | 1 | 6m | 4 | 5 |"
                              "1 | 4 | 1 | 2m | 3m | 4 | 5 | 1 |"
                              "1 | 3m | 2m | 1 | 6m | 5 | 2m - 5 | 1 |"
                              "1 - 4 | 1 |";
    const std::string where = "tune 7";
    const Line line = parseMelody(melody, tune.tonic, tune.barTicks(), where);
    const auto chords = parseChords(chart, tune.barTicks(), where);
    tune.length = agree(line, chords, where);

    Track xiao = makeTrack("Shakuhachi (xiao)", 0, 77, 100, 64, 64);
    MelodyStyle lead;
    lead.velocity = 86;
    lead.vibrato = 30;
    addMelody(xiao, line, tune, lead);

    Track musicBox = makeTrack("Music box", 1, 10, 90, 80, 60);
    ChordStyle arp;
    arp.velocity = 44;
    addArpeggio(musicBox, chords, tune, 62, {3, 5, 4}, PPQ, 2, arp); // twinkles above the melody

    Track choir = makeTrack("Choir", 2, 52, 88, 46, 70, 20);
    ChordStyle pad;
    pad.velocity = 36;
    pad.fromBar = 2;
    addPad(choir, chords, tune, 60, 3, pad);

    Track bass = makeTrack("Fretless bass", 3, 35, 94, 64, 40);
    ChordStyle low;
    low.velocity = 58;
    addBass(bass, chords, tune, 34, BassStyle::Waltz, low);

    tune.tracks = {xiao, musicBox, choir, bass};
    return tune;
}

// 8. 山村晨曦 (Shancun Chenxi, "Daybreak over the Mountain Village"). Original melody,
//    E gong (major pentatonic) mode, 4/4. Oboe, hammered dulcimer for the yangqin, strings, bass.
Tune tune8()
{
    Tune tune;
    tune.number = 8;
    tune.nameAscii = "Shancun Chenxi (Daybreak over the Mountain Village)";
    tune.nameText = "\xE5\xB1\xB1\xE6\x9D\x91\xE6\x99\xA8\xE6\x9B\xA6 (Shancun Chenxi) - original melody for Morvane";
    tune.tonic = 64; // E4
    tune.tempo = 92;
    tune.keySharps = 4;
    tune.ritardandoBeats = 6;
    tune.ritardandoTo = 0.7;
    const std::string second = "3/ 5/ 6/ 5/ 3 2/ 1/ | 6,/ 1/ 2/ 3/ 5 - | 3/ 2/ 1/ 6,/ 2 3/ 2/ | 1 - - - |";
    const std::string melody = "0 0 0 0 | 0 0 0 0 |"
                               "1/ 2/ 3/ 5/ 6 5 | 3/ 5/ 6/ 1'/ 5 - | 6 1'/ 6/ 5 3/ 5/ | 2 - - - |"
        + second
        + "5 1' 1'/ 2'/ 3' | 2'/ 1'/ 6/ 5/ 6 - | 5 6/ 1'/ 2' 1'/ 6/ | 5 - - - |"
          "3' 2'/ 1'/ 6 1' | 5/ 6/ 5/ 3/ 2 - | 3/ 5/ 6/ 1'/ 2'/ 3'/ 2'/ 1'/ | 6 - 5 - |"
        + second + "3/ 5/ 6/ 5/ 1' - | - - - - |";
    const std::string chartSecond = "1 6m | 2m 3m | 6m 5 | 1 |";
    const std::string chart = "1 | 5 |"
                              "1 | 6m 1 | 4 1 | 5 |"
        + chartSecond
        + "1 | 2m 4 | 1 2m | 5 |"
          "6m 4 | 1 5 | 6m 2m | 4 5 |"
        + chartSecond + "4 1 | 1 |";
    const std::string where = "tune 8";
    const Line line = parseMelody(melody, tune.tonic, tune.barTicks(), where);
    const auto chords = parseChords(chart, tune.barTicks(), where);
    tune.length = agree(line, chords, where);

    Track oboe = makeTrack("Oboe", 0, 68, 96, 64, 52);
    MelodyStyle lead;
    lead.velocity = 80;
    lead.vibrato = 26;
    addMelody(oboe, line, tune, lead);

    Track dulcimer = makeTrack("Dulcimer (yangqin)", 1, 15, 92, 42, 52);
    ChordStyle arp;
    arp.velocity = 66;
    addArpeggio(dulcimer, chords, tune, 52, {0, 2, 1, 2, 3, 2, 1, 2}, PPQ / 2, 2, arp);

    Track strings = makeTrack("Strings", 2, 48, 88, 86, 64, 20);
    ChordStyle pad;
    pad.velocity = 26;
    pad.fromBar = 2;
    addPad(strings, chords, tune, 59, 3, pad);

    Track bass = makeTrack("Acoustic bass", 3, 32, 94, 64, 36);
    ChordStyle low;
    low.velocity = 68;
    addBass(bass, chords, tune, 40, BassStyle::Halves, low);

    tune.tracks = {oboe, dulcimer, strings, bass};
    return tune;
}

// ================================================================= Standard MIDI File

struct Event {
    int tick;
    int order; // at one tick: metas and set-up first, note-offs, controls, then note-ons
    int serial; // keeps the order of insertion among equals
    std::vector<uint8_t> bytes;
};

void putVarLen(std::vector<uint8_t> &out, uint32_t value)
{
    uint8_t buffer[5];
    int n = 0;
    buffer[n++] = value & 0x7F;
    while ((value >>= 7) != 0)
        buffer[n++] = uint8_t(0x80 | (value & 0x7F));
    while (n > 0)
        out.push_back(buffer[--n]);
}

void putBigEndian(std::vector<uint8_t> &out, uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(uint8_t(value >> (8 * i)));
}

std::vector<uint8_t> meta(int type, const std::string &data)
{
    std::vector<uint8_t> bytes = {0xFF, uint8_t(type)};
    putVarLen(bytes, uint32_t(data.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

std::vector<uint8_t> chunk(const char *id, const std::vector<Event> &unsorted, int endTick)
{
    std::vector<Event> events = unsorted;
    std::stable_sort(events.begin(), events.end(), [](const Event &a, const Event &b) {
        if (a.tick != b.tick)
            return a.tick < b.tick;
        if (a.order != b.order)
            return a.order < b.order;
        return a.serial < b.serial;
    });
    std::vector<uint8_t> body;
    int now = 0;
    for (const Event &e : events) {
        if (e.tick > endTick)
            fail("an event lies after the end of its track");
        putVarLen(body, uint32_t(e.tick - now));
        now = e.tick;
        body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    }
    putVarLen(body, uint32_t(endTick - now));
    body.insert(body.end(), {0xFF, 0x2F, 0x00});
    std::vector<uint8_t> out(id, id + 4);
    putBigEndian(out, uint32_t(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// Tempo at each beat of the closing ritardando, as microseconds a beat.
std::vector<std::pair<int, uint32_t>> tempoMap(const Tune &tune)
{
    std::vector<std::pair<int, uint32_t>> map;
    const double base = 60'000'000.0 / tune.tempo;
    map.emplace_back(0, uint32_t(std::lround(base)));
    const int ritStart = tune.length - tune.ritardandoBeats * PPQ;
    for (int k = 0; k < tune.ritardandoBeats; ++k) {
        const double share = 1.0 - (1.0 - tune.ritardandoTo) * (k + 1) / tune.ritardandoBeats;
        map.emplace_back(ritStart + k * PPQ, uint32_t(std::lround(base / share)));
    }
    return map;
}

double seconds(const std::vector<std::pair<int, uint32_t>> &map, int tick)
{
    double total = 0;
    for (size_t i = 0; i < map.size(); ++i) {
        const int from = map[i].first;
        const int to = i + 1 < map.size() ? std::min(map[i + 1].first, tick) : tick;
        if (to > from)
            total += double(to - from) * map[i].second / PPQ / 1e6;
    }
    return total;
}

std::vector<uint8_t> writeMidi(const Tune &tune, double *durationSeconds)
{
    // Notes of one pitch on one channel must not overlap: a later stroke cuts the earlier one.
    const int lead = PPQ / 4; // a moment of quiet before the first note
    int lastTick = 0;
    std::vector<std::vector<Note>> cleaned;
    for (const Track &track : tune.tracks) {
        std::vector<Note> notes = track.notes;
        std::stable_sort(notes.begin(), notes.end(), [](const Note &a, const Note &b) {
            return a.pitch != b.pitch ? a.pitch < b.pitch : a.tick < b.tick;
        });
        for (size_t i = 0; i + 1 < notes.size(); ++i)
            if (notes[i + 1].pitch == notes[i].pitch && notes[i].tick + notes[i].duration > notes[i + 1].tick)
                notes[i].duration = notes[i + 1].tick - notes[i].tick;
        for (const Note &n : notes) {
            if (n.duration <= 0 || n.pitch < 0 || n.pitch > 127)
                fail("tune " + std::to_string(tune.number) + ": bad note in " + track.name);
            lastTick = std::max(lastTick, lead + n.tick + n.duration);
        }
        cleaned.push_back(std::move(notes));
    }
    const int endTick = lastTick + 2 * PPQ; // let the last chord die away
    const auto map = tempoMap(tune);

    std::vector<std::vector<uint8_t>> chunks;
    {
        std::vector<Event> events;
        int serial = 0;
        auto add = [&](int tick, std::vector<uint8_t> bytes) {
            events.push_back({tick, 0, serial++, std::move(bytes)});
        };
        add(0, meta(0x03, tune.nameAscii));
        add(0, meta(0x01, tune.nameText));
        int denominatorPower = 2;
        add(0, {0xFF, 0x58, 0x04, uint8_t(tune.beatsPerBar), uint8_t(denominatorPower), 24, 8});
        add(0, {0xFF, 0x59, 0x02, uint8_t(int8_t(tune.keySharps)), uint8_t(tune.minorKey ? 1 : 0)});
        for (const auto &[tick, micros] : map) {
            std::vector<uint8_t> bytes = {0xFF, 0x51, 0x03};
            putBigEndian(bytes, micros, 3);
            add(tick == 0 ? 0 : lead + tick, bytes);
        }
        chunks.push_back(chunk("MTrk", events, endTick));
    }
    for (size_t t = 0; t < tune.tracks.size(); ++t) {
        const Track &track = tune.tracks[t];
        const uint8_t ch = uint8_t(track.channel);
        std::vector<Event> events;
        int serial = 0;
        auto add = [&](int tick, int order, std::vector<uint8_t> bytes) {
            events.push_back({tick, order, serial++, std::move(bytes)});
        };
        add(0, 0, meta(0x03, track.name));
        add(0, 0, {uint8_t(0xB0 | ch), 121, 0}); // reset controllers
        if (track.program >= 0)
            add(0, 0, {uint8_t(0xC0 | ch), uint8_t(track.program)});
        add(0, 0, {uint8_t(0xB0 | ch), 7, uint8_t(track.volume)});
        add(0, 0, {uint8_t(0xB0 | ch), 10, uint8_t(track.pan)});
        add(0, 0, {uint8_t(0xB0 | ch), 11, 127});
        add(0, 0, {uint8_t(0xB0 | ch), 91, uint8_t(track.reverb)});
        add(0, 0, {uint8_t(0xB0 | ch), 93, uint8_t(track.chorus)});
        for (const Control &c : track.controls)
            add(lead + c.tick, 2, {uint8_t(0xB0 | ch), uint8_t(c.controller), uint8_t(std::clamp(c.value, 0, 127))});
        for (const Note &n : cleaned[t]) {
            add(lead + n.tick, 3, {uint8_t(0x90 | ch), uint8_t(n.pitch), uint8_t(clampVelocity(n.velocity))});
            add(lead + n.tick + n.duration, 1, {uint8_t(0x80 | ch), uint8_t(n.pitch), 64});
        }
        add(endTick, 4, {uint8_t(0xB0 | ch), 123, 0}); // all notes off
        chunks.push_back(chunk("MTrk", events, endTick));
    }

    std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    putBigEndian(file, uint32_t(chunks.size()), 2);
    putBigEndian(file, PPQ, 2);
    for (const auto &c : chunks)
        file.insert(file.end(), c.begin(), c.end());
    // Ritardando tempos are placed relative to the music; convert the end tick likewise.
    std::vector<std::pair<int, uint32_t>> shifted = map;
    for (size_t i = 1; i < shifted.size(); ++i)
        shifted[i].first += lead;
    *durationSeconds = seconds(shifted, endTick);
    return file;
}

std::vector<uint8_t> readFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

int main(int argc, char **argv)
{
    const std::string usage = "usage: make_tunes <repo-root> [--check | --stems <dir>]\n";
    const std::string option = argc >= 3 ? argv[2] : "";
    if (argc < 2 || argc > 4 || (argc == 3 && option != "--check") || (argc == 4 && option != "--stems")) {
        std::fputs(usage.c_str(), stderr);
        return 2;
    }
    const bool check = option == "--check";
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "skinmaker" / "data" / "music";
    const std::vector<Tune> tunes = {tune1(), tune2(), tune3(), tune4(), tune5(), tune6(), tune7(), tune8()};

    if (option == "--stems") {
        // One file per instrument of every tune (N-T.mid, with only track T sounding),
        // to measure how loud each part is in the mix.
        const std::filesystem::path stems = argv[3];
        std::filesystem::create_directories(stems);
        for (const Tune &tune : tunes)
            for (size_t t = 0; t < tune.tracks.size(); ++t) {
                Tune solo = tune;
                for (size_t u = 0; u < solo.tracks.size(); ++u)
                    if (u != t)
                        solo.tracks[u].notes.clear();
                // keep the other tracks' last notes so the file's length stays the same
                for (size_t u = 0; u < solo.tracks.size(); ++u)
                    if (u != t && !tune.tracks[u].notes.empty()) {
                        Note last = *std::max_element(
                            tune.tracks[u].notes.begin(), tune.tracks[u].notes.end(),
                            [](const Note &a, const Note &b) { return a.tick + a.duration < b.tick + b.duration; });
                        last.velocity = 1;
                        solo.tracks[u].notes.push_back(last);
                    }
                double duration = 0;
                const std::vector<uint8_t> bytes = writeMidi(solo, &duration);
                const auto path = stems / (std::to_string(tune.number) + "-" + std::to_string(t + 1) + ".mid");
                std::ofstream out(path, std::ios::binary | std::ios::trunc);
                out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
                std::printf("%s  %s\n", path.string().c_str(), tune.tracks[t].name.c_str());
            }
        return 0;
    }

    if (!check)
        std::filesystem::create_directories(folder);
    int differing = 0;
    for (const Tune &tune : tunes) {
        double duration = 0;
        const std::vector<uint8_t> bytes = writeMidi(tune, &duration);
        const std::filesystem::path path = folder / (std::to_string(tune.number) + ".mid");
        if (check) {
            const bool same = readFile(path) == bytes;
            differing += same ? 0 : 1;
            std::printf("%s  %s\n", same ? "same     " : "DIFFERENT", path.string().c_str());
            continue;
        }
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
        if (!out)
            fail("cannot write " + path.string());
        std::printf("%s  %6zu bytes  %5.1f s  %d tracks  %s\n", path.string().c_str(), bytes.size(), duration,
                    int(tune.tracks.size()) + 1, tune.nameAscii.c_str());
    }
    return differing == 0 ? 0 : 1;
}
