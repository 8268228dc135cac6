/* render_check: checks Morvane's built-in tunes by reading and by listening.
 *
 * For every MIDI file given it
 *   1. parses the file as a Standard MIDI File (chunks, events, running status, end of
 *      track, notes left hanging) and works out its length from the tempo map;
 *   2. loads it with SDL_mixer (Mix_LoadMUS) and plays it to the end through SDL_mixer's
 *      FluidSynth backend with the soundfont /usr/share/sounds/sf2/TimGM6mb.sf2, into
 *      SDL's disk audio driver (SDL_AUDIODRIVER=disk, SDL_DISKAUDIOFILE=<raw file>;
 *      SDL_DISKAUDIODELAY=0 lets the driver run faster than real time);
 *   3. measures the raw 16-bit stereo PCM: length, RMS and peak level, share of clipped
 *      samples, the longest silence between the first and the last sound, and the level
 *      over time (one character every two seconds).
 * It fails (exit status 1) unless every file parses, lasts 40-90 s, loads, renders
 * audibly (RMS above -40 dBFS), peaks below full scale with no clipped sample, and has
 * no silence longer than 1.5 s inside it.
 *
 * Usage: render_check [--soundfont F] [--work DIR] [--spectrograms DIR] [--realtime] FILE.mid...
 *   --work DIR          where the raw renderings go (default /tmp/morvane-tunes-render)
 *   --spectrograms DIR  also writes N.png: a spectrogram (log frequency 55 Hz - 7 kHz,
 *                       0.1 s a column, faint lines at every C) to see that the tune moves
 *   --realtime          keeps the disk driver at real-time speed
 */
#include <SDL.h>
#include <SDL_mixer.h>

#include <errno.h>
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#define RATE 44100
#define MIN_SECONDS 40.0
#define MAX_SECONDS 90.0
#define MIN_RMS_DB (-40.0)
#define MAX_PEAK_DB (-0.1)
#define MAX_SILENCE_SECONDS 1.5
#define SILENCE_DB (-50.0)

/* ------------------------------------------------------------------ file reading */

static unsigned char *read_all(const char *path, long *size)
{
    FILE *f = fopen(path, "rb");
    if (!f)
        return NULL;
    fseek(f, 0, SEEK_END);
    *size = ftell(f);
    fseek(f, 0, SEEK_SET);
    unsigned char *data = malloc((size_t)(*size > 0 ? *size : 1));
    if (data && fread(data, 1, (size_t)*size, f) != (size_t)*size) {
        free(data);
        data = NULL;
    }
    fclose(f);
    return data;
}

/* ------------------------------------------------------------------ SMF parsing */

typedef struct {
    long tick;
    long micros; /* microseconds a beat from this tick on */
} TempoChange;

typedef struct {
    int ok;
    char error[200];
    int format, tracks, division;
    long end_tick;
    double seconds;
    int notes, max_velocity, programs[16], volumes[16];
    char title[128];
} SmfInfo;

static int read_varlen(const unsigned char *p, long size, long *pos, long *value)
{
    *value = 0;
    for (int i = 0; i < 4; ++i) {
        if (*pos >= size)
            return 0;
        unsigned char b = p[(*pos)++];
        *value = (*value << 7) | (b & 0x7F);
        if (!(b & 0x80))
            return 1;
    }
    return 0;
}

static int compare_tempo(const void *a, const void *b)
{
    const TempoChange *x = a, *y = b;
    return x->tick < y->tick ? -1 : x->tick > y->tick;
}

static void smf_fail(SmfInfo *info, const char *message, int track)
{
    info->ok = 0;
    snprintf(info->error, sizeof info->error, "%s (track %d)", message, track);
}

static void parse_smf(const unsigned char *d, long size, SmfInfo *info)
{
    memset(info, 0, sizeof *info);
    for (int c = 0; c < 16; ++c)
        info->programs[c] = info->volumes[c] = -1;
    info->ok = 1;
    if (size < 14 || memcmp(d, "MThd", 4) != 0 || d[4] || d[5] || d[6] || d[7] != 6) {
        smf_fail(info, "no MThd header of length 6", 0);
        return;
    }
    info->format = d[8] << 8 | d[9];
    info->tracks = d[10] << 8 | d[11];
    info->division = d[12] << 8 | d[13];
    if (info->format > 2 || info->tracks < 1 || info->division <= 0 || (info->division & 0x8000)) {
        smf_fail(info, "bad format, track count or division", 0);
        return;
    }
    TempoChange tempos[1024];
    int ntempos = 0;
    long pos = 14;
    for (int t = 0; t < info->tracks; ++t) {
        if (pos + 8 > size || memcmp(d + pos, "MTrk", 4) != 0) {
            smf_fail(info, "missing MTrk chunk", t);
            return;
        }
        long length = (long)d[pos + 4] << 24 | (long)d[pos + 5] << 16 | (long)d[pos + 6] << 8 | d[pos + 7];
        long p = pos + 8, end = p + length;
        if (end > size) {
            smf_fail(info, "chunk runs past the end of the file", t);
            return;
        }
        long tick = 0;
        int status = 0, ended = 0;
        int sounding[16][128];
        memset(sounding, 0, sizeof sounding);
        while (p < end) {
            long delta;
            if (ended) {
                smf_fail(info, "events after end of track", t);
                return;
            }
            if (!read_varlen(d, end, &p, &delta) || p >= end) {
                smf_fail(info, "bad delta time", t);
                return;
            }
            tick += delta;
            int b = d[p];
            if (b == 0xFF) {
                long len;
                if (p + 2 > end) {
                    smf_fail(info, "truncated meta event", t);
                    return;
                }
                int type = d[p + 1];
                p += 2;
                if (!read_varlen(d, end, &p, &len) || p + len > end) {
                    smf_fail(info, "bad meta length", t);
                    return;
                }
                if (type == 0x2F) {
                    if (len != 0) {
                        smf_fail(info, "end of track with data", t);
                        return;
                    }
                    ended = 1;
                    if (tick > info->end_tick)
                        info->end_tick = tick;
                } else if (type == 0x51) {
                    if (len != 3 || ntempos >= 1024) {
                        smf_fail(info, "bad tempo event", t);
                        return;
                    }
                    tempos[ntempos].tick = tick;
                    tempos[ntempos].micros = (long)d[p] << 16 | (long)d[p + 1] << 8 | d[p + 2];
                    ++ntempos;
                } else if (type == 0x03 && t == 0 && !info->title[0]) {
                    long n = len < (long)sizeof info->title - 1 ? len : (long)sizeof info->title - 1;
                    memcpy(info->title, d + p, (size_t)n);
                    info->title[n] = 0;
                }
                p += len;
                status = 0; /* running status is cancelled by meta and sysex events */
            } else if (b == 0xF0 || b == 0xF7) {
                long len;
                ++p;
                if (!read_varlen(d, end, &p, &len) || p + len > end) {
                    smf_fail(info, "bad sysex length", t);
                    return;
                }
                p += len;
                status = 0;
            } else {
                if (b & 0x80) {
                    if (b >= 0xF0) {
                        smf_fail(info, "system message inside a track", t);
                        return;
                    }
                    status = b;
                    ++p;
                } else if (!status) {
                    smf_fail(info, "data byte without running status", t);
                    return;
                }
                int kind = status & 0xF0, ch = status & 0x0F;
                int count = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
                if (p + count > end) {
                    smf_fail(info, "truncated channel message", t);
                    return;
                }
                int a = d[p], v = count == 2 ? d[p + 1] : 0;
                if ((a & 0x80) || (v & 0x80)) {
                    smf_fail(info, "data byte above 127", t);
                    return;
                }
                p += count;
                if (kind == 0x90 && v > 0) {
                    if (sounding[ch][a]) {
                        smf_fail(info, "note struck again before its note-off", t);
                        return;
                    }
                    sounding[ch][a] = 1;
                    info->notes++;
                    if (v > info->max_velocity)
                        info->max_velocity = v;
                } else if (kind == 0x80 || kind == 0x90) {
                    sounding[ch][a] = 0;
                } else if (kind == 0xC0) {
                    info->programs[ch] = a;
                } else if (kind == 0xB0 && a == 7) {
                    info->volumes[ch] = v;
                }
            }
        }
        if (!ended) {
            smf_fail(info, "no end-of-track event", t);
            return;
        }
        for (int c = 0; c < 16; ++c)
            for (int k = 0; k < 128; ++k)
                if (sounding[c][k]) {
                    smf_fail(info, "note left sounding at end of track", t);
                    return;
                }
        pos = end;
    }
    if (pos != size) {
        smf_fail(info, "bytes after the last chunk", info->tracks);
        return;
    }
    qsort(tempos, (size_t)ntempos, sizeof tempos[0], compare_tempo);
    double seconds = 0;
    long from = 0, micros = 500000;
    for (int i = 0; i < ntempos && tempos[i].tick < info->end_tick; ++i) {
        seconds += (double)(tempos[i].tick - from) * micros / info->division / 1e6;
        from = tempos[i].tick;
        micros = tempos[i].micros;
    }
    seconds += (double)(info->end_tick - from) * micros / info->division / 1e6;
    info->seconds = seconds;
}

/* ------------------------------------------------------------------ PNG (for spectrograms) */

static uint32_t crc_table[256];

static void crc_init(void)
{
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        crc_table[n] = c;
    }
}

static uint32_t crc(uint32_t c, const unsigned char *buf, size_t len)
{
    c ^= 0xFFFFFFFFu;
    for (size_t i = 0; i < len; ++i)
        c = crc_table[(c ^ buf[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

static void put32(unsigned char *p, uint32_t v)
{
    p[0] = (unsigned char)(v >> 24);
    p[1] = (unsigned char)(v >> 16);
    p[2] = (unsigned char)(v >> 8);
    p[3] = (unsigned char)v;
}

static void png_chunk(FILE *f, const char *type, const unsigned char *data, size_t len)
{
    unsigned char head[8];
    put32(head, (uint32_t)len);
    memcpy(head + 4, type, 4);
    fwrite(head, 1, 8, f);
    fwrite(data, 1, len, f);
    uint32_t c = crc(0, head + 4, 4);
    c = crc(c, data, len);
    unsigned char tail[4];
    put32(tail, c);
    fwrite(tail, 1, 4, f);
}

/* Writes an 8-bit grey image with an uncompressed ("stored") zlib stream. */
static int write_png(const char *path, const unsigned char *pixels, int w, int h)
{
    FILE *f = fopen(path, "wb");
    if (!f)
        return 0;
    static const unsigned char signature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    fwrite(signature, 1, 8, f);
    unsigned char ihdr[13];
    put32(ihdr, (uint32_t)w);
    put32(ihdr + 4, (uint32_t)h);
    ihdr[8] = 8, ihdr[9] = 0, ihdr[10] = 0, ihdr[11] = 0, ihdr[12] = 0;
    png_chunk(f, "IHDR", ihdr, 13);
    size_t raw_len = (size_t)h * (size_t)(w + 1);
    unsigned char *raw = malloc(raw_len);
    for (int y = 0; y < h; ++y) {
        raw[(size_t)y * (w + 1)] = 0;
        memcpy(raw + (size_t)y * (w + 1) + 1, pixels + (size_t)y * w, (size_t)w);
    }
    size_t blocks = (raw_len + 65534) / 65535;
    size_t z_len = 2 + raw_len + blocks * 5 + 4;
    unsigned char *z = malloc(z_len), *q = z;
    *q++ = 0x78, *q++ = 0x01;
    uint32_t a = 1, b = 0;
    for (size_t off = 0; off < raw_len; off += 65535) {
        size_t n = raw_len - off < 65535 ? raw_len - off : 65535;
        *q++ = off + n == raw_len ? 1 : 0;
        *q++ = (unsigned char)n, *q++ = (unsigned char)(n >> 8);
        *q++ = (unsigned char)~n, *q++ = (unsigned char)(~n >> 8);
        memcpy(q, raw + off, n);
        q += n;
        for (size_t i = 0; i < n; ++i) {
            a = (a + raw[off + i]) % 65521;
            b = (b + a) % 65521;
        }
    }
    put32(q, b << 16 | a);
    png_chunk(f, "IDAT", z, z_len);
    png_chunk(f, "IEND", NULL, 0);
    free(raw);
    free(z);
    return fclose(f) == 0;
}

/* ------------------------------------------------------------------ spectrogram */

static void fft(double *re, double *im, int n)
{
    for (int i = 1, j = 0; i < n; ++i) {
        int bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j) {
            double t = re[i];
            re[i] = re[j], re[j] = t;
            t = im[i], im[i] = im[j], im[j] = t;
        }
    }
    for (int len = 2; len <= n; len <<= 1) {
        double angle = -2 * M_PI / len;
        for (int i = 0; i < n; i += len)
            for (int k = 0; k < len / 2; ++k) {
                double wr = cos(angle * k), wi = sin(angle * k);
                double xr = re[i + k + len / 2] * wr - im[i + k + len / 2] * wi;
                double xi = re[i + k + len / 2] * wi + im[i + k + len / 2] * wr;
                re[i + k + len / 2] = re[i + k] - xr, im[i + k + len / 2] = im[i + k] - xi;
                re[i + k] += xr, im[i + k] += xi;
            }
    }
}

static int spectrogram(const char *path, const int16_t *s, long frames)
{
    /* start at the first sound */
    while (frames > 0 && abs(s[0]) <= 33 && abs(s[1]) <= 33)
        s += 2, --frames;
    enum { N = 8192, H = 360 };
    const double fmin = 55.0, fmax = 7040.0; /* A1 .. A8: seven octaves */
    int hop = RATE / 10;
    int w = (int)(frames / hop);
    if (w < 1)
        return 0;
    unsigned char *img = calloc((size_t)w * H, 1);
    double *re = malloc(sizeof(double) * N), *im = malloc(sizeof(double) * N);
    for (int x = 0; x < w; ++x) {
        long start = (long)x * hop + hop / 2 - N / 2;
        for (int i = 0; i < N; ++i) {
            long k = start + i;
            double v = (k >= 0 && k < frames) ? (s[2 * k] + s[2 * k + 1]) / 65536.0 : 0;
            re[i] = v * (0.5 - 0.5 * cos(2 * M_PI * i / (N - 1)));
            im[i] = 0;
        }
        fft(re, im, N);
        for (int y = 0; y < H; ++y) {
            double f = fmin * pow(fmax / fmin, (double)(H - 1 - y) / (H - 1));
            double bin = f * N / RATE;
            int b0 = (int)bin;
            double m = 0;
            for (int b = b0 - 1; b <= b0 + 1; ++b)
                if (b > 0 && b < N / 2) {
                    double mag = sqrt(re[b] * re[b] + im[b] * im[b]);
                    if (mag > m)
                        m = mag;
                }
            double db = 20 * log10(m / (N / 4) + 1e-12);
            double v = (db + 90) / 80 * 255;
            img[(size_t)y * w + x] = (unsigned char)(v < 0 ? 0 : v > 255 ? 255 : v);
        }
    }
    /* faint lines at every C (C2 = 65.41 Hz ... C8) */
    for (int oct = 2; oct <= 8; ++oct) {
        double f = 65.406 * pow(2, oct - 2);
        int y = (int)lround((H - 1) - (H - 1) * log(f / fmin) / log(fmax / fmin));
        if (y >= 0 && y < H)
            for (int x = 0; x < w; x += 2)
                if (img[(size_t)y * w + x] < 60)
                    img[(size_t)y * w + x] = 60;
    }
    int ok = write_png(path, img, w, H);
    free(img);
    free(re);
    free(im);
    return ok;
}

/* ------------------------------------------------------------------ rendering */

static double db(double amplitude) { return amplitude > 0 ? 20 * log10(amplitude) : -200; }

static int render(const char *midi, const char *raw, const char *soundfont, double *music_duration)
{
    SDL_setenv("SDL_DISKAUDIOFILE", raw, 1);
    if (Mix_OpenAudio(RATE, AUDIO_S16SYS, 2, 2048) != 0) {
        fprintf(stderr, "  Mix_OpenAudio: %s\n", Mix_GetError());
        return 0;
    }
    int freq = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&freq, &format, &channels);
    if (freq != RATE || format != AUDIO_S16SYS || channels != 2) {
        fprintf(stderr, "  audio opened as %d Hz, format %#x, %d channels\n", freq, format, channels);
        Mix_CloseAudio();
        return 0;
    }
    Mix_SetSoundFonts(soundfont);
    Mix_Music *music = Mix_LoadMUS(midi);
    if (!music) {
        fprintf(stderr, "  Mix_LoadMUS: %s\n", Mix_GetError());
        Mix_CloseAudio();
        return 0;
    }
    *music_duration = Mix_MusicDuration(music);
    int ok = Mix_GetMusicType(music) == MUS_MID && Mix_PlayMusic(music, 0) == 0;
    if (ok) {
        Uint32 started = SDL_GetTicks();
        while (Mix_PlayingMusic()) {
            if (SDL_GetTicks() - started > 400000) {
                fprintf(stderr, "  playback did not end\n");
                ok = 0;
                break;
            }
            SDL_Delay(2);
        }
    } else {
        fprintf(stderr, "  not playable as MIDI: %s\n", Mix_GetError());
    }
    Mix_HaltMusic();
    Mix_FreeMusic(music);
    Mix_CloseAudio();
    return ok;
}

typedef struct {
    double seconds, rms_db, peak_db, clipped_share, longest_silence, lead_silence;
    char levels[128];
} Measure;

static void measure(const int16_t *s, long frames, Measure *m)
{
    memset(m, 0, sizeof *m);
    long first = -1, last = -1;
    for (long i = 0; i < frames; ++i)
        if (abs(s[2 * i]) > 33 || abs(s[2 * i + 1]) > 33) {
            if (first < 0)
                first = i;
            last = i;
        }
    if (first < 0) {
        m->rms_db = m->peak_db = -200;
        return;
    }
    m->lead_silence = (double)first / RATE;
    m->seconds = (double)(last - first + 1) / RATE;
    double sum = 0;
    int peak = 0;
    long clipped = 0;
    for (long i = first; i <= last; ++i)
        for (int c = 0; c < 2; ++c) {
            int v = s[2 * i + c];
            sum += (double)v * v;
            int a = abs(v);
            if (a > peak)
                peak = a;
            if (v >= 32767 || v <= -32767)
                ++clipped;
        }
    long count = 2 * (last - first + 1);
    m->rms_db = db(sqrt(sum / count) / 32768.0);
    m->peak_db = db(peak / 32768.0);
    m->clipped_share = (double)clipped / count;

    /* silence: 50 ms windows quieter than SILENCE_DB, between the first and the last
       window that is louder (so the fading tail of the last chord does not count) */
    const long win = RATE / 20;
    long nwin = (last - first + 1) / win;
    char *quiet = malloc((size_t)(nwin > 0 ? nwin : 1));
    long loud_first = -1, loud_last = -1;
    for (long k = 0; k < nwin; ++k) {
        double e = 0;
        for (long i = first + k * win; i < first + (k + 1) * win; ++i)
            e += (double)s[2 * i] * s[2 * i] + (double)s[2 * i + 1] * s[2 * i + 1];
        quiet[k] = db(sqrt(e / (2 * win)) / 32768.0) < SILENCE_DB;
        if (!quiet[k]) {
            if (loud_first < 0)
                loud_first = k;
            loud_last = k;
        }
    }
    long run = 0, longest = 0;
    for (long k = loud_first; k >= 0 && k <= loud_last; ++k) {
        if (quiet[k]) {
            if (++run > longest)
                longest = run;
        } else {
            run = 0;
        }
    }
    free(quiet);
    m->longest_silence = (double)longest * win / RATE;

    /* level every two seconds: ' ' below -60 dBFS, then one step every 6 dB up to '@' */
    static const char ramp[] = " .:-=+*#%@";
    int n = 0;
    for (long w0 = first; w0 <= last && n < (int)sizeof m->levels - 1; w0 += 2 * RATE) {
        long w1 = w0 + 2 * RATE > last + 1 ? last + 1 : w0 + 2 * RATE;
        double e = 0;
        for (long i = w0; i < w1; ++i)
            e += (double)s[2 * i] * s[2 * i] + (double)s[2 * i + 1] * s[2 * i + 1];
        double level = db(sqrt(e / (2.0 * (double)(w1 - w0))) / 32768.0);
        int k = (int)floor((level + 60) / 6);
        m->levels[n++] = ramp[k < 0 ? 0 : k > 9 ? 9 : k];
    }
    m->levels[n] = 0;
}

static const char *base_name(const char *path)
{
    const char *slash = strrchr(path, '/');
    return slash ? slash + 1 : path;
}

int main(int argc, char **argv)
{
    const char *soundfont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    const char *work = "/tmp/morvane-tunes-render";
    const char *pictures = NULL;
    int realtime = 0, first_file = 1;
    for (; first_file < argc && strncmp(argv[first_file], "--", 2) == 0; ++first_file) {
        if (!strcmp(argv[first_file], "--realtime"))
            realtime = 1;
        else if (!strcmp(argv[first_file], "--soundfont") && first_file + 1 < argc)
            soundfont = argv[++first_file];
        else if (!strcmp(argv[first_file], "--work") && first_file + 1 < argc)
            work = argv[++first_file];
        else if (!strcmp(argv[first_file], "--spectrograms") && first_file + 1 < argc)
            pictures = argv[++first_file];
        else {
            fprintf(stderr, "render_check: unknown option %s\n", argv[first_file]);
            return 2;
        }
    }
    if (first_file >= argc) {
        fprintf(stderr, "usage: render_check [--soundfont F] [--work DIR] [--spectrograms DIR] [--realtime] FILE.mid...\n");
        return 2;
    }
    if (access(soundfont, R_OK) != 0) {
        fprintf(stderr, "render_check: soundfont %s is not readable\n", soundfont);
        return 2;
    }
    mkdir(work, 0755);
    if (pictures)
        mkdir(pictures, 0755);
    crc_init();

    /* Only SDL_mixer's FluidSynth backend may play: Timidity is given no configuration. */
    SDL_setenv("SDL_AUDIODRIVER", "disk", 1);
    if (!realtime)
        SDL_setenv("SDL_DISKAUDIODELAY", "0", 1);
    SDL_setenv("TIMIDITY_CFG", "/nonexistent/timidity.cfg", 1);
    if (SDL_Init(SDL_INIT_AUDIO) != 0) {
        fprintf(stderr, "render_check: SDL_Init: %s\n", SDL_GetError());
        return 2;
    }
    if (!(Mix_Init(MIX_INIT_MID) & MIX_INIT_MID)) {
        fprintf(stderr, "render_check: SDL_mixer has no MIDI support: %s\n", Mix_GetError());
        return 2;
    }
    Mix_SetTimidityCfg("/nonexistent/timidity.cfg");
    printf("audio driver %s, soundfont %s\n", SDL_GetCurrentAudioDriver() ? SDL_GetCurrentAudioDriver() : "(none yet)",
           soundfont);

    printf("\n%-8s %7s %7s %8s %8s %9s %9s  %s\n", "file", "SMF s", "sound s", "RMS dB", "peak dB", "clipped",
           "silence s", "result");
    int failures = 0;
    char (*level_lines)[200] = calloc((size_t)argc, 200);
    char (*content_lines)[300] = calloc((size_t)argc, 300);
    for (int i = first_file; i < argc; ++i) {
        const char *midi = argv[i];
        const char *name = base_name(midi);
        char problems[400] = "";
        long size = 0;
        unsigned char *data = read_all(midi, &size);
        SmfInfo info;
        if (!data) {
            printf("%-8s cannot read: %s\n", name, strerror(errno));
            ++failures;
            continue;
        }
        parse_smf(data, size, &info);
        free(data);
        if (!info.ok)
            snprintf(problems + strlen(problems), sizeof problems - strlen(problems), " SMF: %s;", info.error);
        else if (info.format != 1)
            snprintf(problems + strlen(problems), sizeof problems - strlen(problems), " not format 1;");
        if (info.ok && (info.seconds < MIN_SECONDS || info.seconds > MAX_SECONDS))
            snprintf(problems + strlen(problems), sizeof problems - strlen(problems), " length %.1f s;", info.seconds);

        char raw[1024];
        snprintf(raw, sizeof raw, "%s/%s.raw", work, name);
        double mixer_duration = -1;
        Measure m;
        memset(&m, 0, sizeof m);
        if (!render(midi, raw, soundfont, &mixer_duration)) {
            snprintf(problems + strlen(problems), sizeof problems - strlen(problems), " did not play;");
        } else {
            long bytes = 0;
            int16_t *pcm = (int16_t *)read_all(raw, &bytes);
            long frames = pcm ? bytes / 4 : 0;
            measure(pcm, frames, &m);
            if (m.rms_db < MIN_RMS_DB)
                snprintf(problems + strlen(problems), sizeof problems - strlen(problems), " too quiet;");
            if (m.peak_db >= MAX_PEAK_DB || m.clipped_share > 0)
                snprintf(problems + strlen(problems), sizeof problems - strlen(problems), " clips;");
            if (m.longest_silence > MAX_SILENCE_SECONDS)
                snprintf(problems + strlen(problems), sizeof problems - strlen(problems), " silence inside;");
            if (info.ok && fabs(m.seconds + m.lead_silence - info.seconds) > 3.0 && m.seconds < info.seconds - 3.0)
                snprintf(problems + strlen(problems), sizeof problems - strlen(problems), " stopped early;");
            if (pictures && pcm) {
                char png[1024];
                snprintf(png, sizeof png, "%s/%.*s.png", pictures, (int)(strcspn(name, ".")), name);
                spectrogram(png, pcm, frames);
            }
            free(pcm);
        }
        printf("%-8s %7.1f %7.1f %8.1f %8.1f %9.2g %9.2f  %s\n", name, info.seconds, m.seconds, m.rms_db,
               m.peak_db, m.clipped_share, m.longest_silence, problems[0] ? problems : "ok");
        snprintf(level_lines[i], 200, "%-8s |%s|", name, m.levels);
        if (info.ok) {
            int n = snprintf(content_lines[i], 300, "%-8s %6d %5d %6d   ", name, info.tracks, info.notes, info.max_velocity);
            for (int c = 0; c < 16 && n < 290; ++c)
                if (info.programs[c] >= 0 || info.volumes[c] >= 0)
                    n += snprintf(content_lines[i] + n, (size_t)(300 - n), " ch%d:%d/%d", c + 1, info.programs[c], info.volumes[c]);
        }
        if (problems[0])
            ++failures;
    }
    printf("\nlevel every 2 s (' ' below -60 dBFS, one step a 6 dB, '@' above -6 dBFS):\n");
    for (int i = first_file; i < argc; ++i)
        if (level_lines[i][0])
            printf("%s\n", level_lines[i]);
    free(level_lines);
    printf("\nMIDI content (channel: GM program, -1 = drums / CC7 volume):\n%-8s %6s %5s %6s\n", "file", "tracks", "notes",
           "max vel");
    for (int i = first_file; i < argc; ++i)
        if (content_lines[i][0])
            printf("%s\n", content_lines[i]);
    free(content_lines);
    Mix_Quit();
    SDL_Quit();
    printf("\n%s\n", failures ? "SOME TUNES FAILED" : "all tunes pass");
    return failures ? 1 : 0;
}
