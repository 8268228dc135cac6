// make bench: runs every measurement of the programs beside its reference, in this one run,
// and prints a Markdown table of the results (also written to the file named by the first
// argument). The programs it runs are named at build time (see CMakeLists.txt).
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iterator>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Start-up runs of each program, after one unmeasured warm-up each.
constexpr int startRuns = 11;
constexpr qint64 rssAfterNs = 1000000000; // resident memory is read 1 s after the start
const char *const timGm6mb = "/usr/share/sounds/sf2/TimGM6mb.sf2";
// A soundfont this size or larger counts as large (TimGM6mb has 6 MB, the usual large
// General MIDI sets have 30 to 150 MB).
constexpr qint64 largeSoundFontBytes = 20 * 1024 * 1024;

void progress(const QString &text)
{
    std::fprintf(stderr, "bench: %s\n", qPrintable(text));
}

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

struct Summary {
    double median = 0;
    double min = 0;
    double max = 0;
    int count = 0;
};

Summary summarise(std::vector<double> values)
{
    Summary s;
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    s.median = values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    s.min = values.front();
    s.max = values.back();
    s.count = int(values.size());
    return s;
}

QString number(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

// "12.3 ms (10.1–15.0)": the median and, in brackets, the lowest and highest run.
QString withSpread(const Summary &s, int decimals, const QString &unit)
{
    return number(s.median, decimals) + u' ' + unit + QStringLiteral(" (") + number(s.min, decimals) + u'–'
        + number(s.max, decimals) + u')';
}

QString firstLineStartingWith(const QString &file, const QString &key)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    // Files in /proc tell no size, so they are read to their end rather than checked for it.
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(key.toLatin1()))
            return QString::fromUtf8(line.mid(line.indexOf(':') + 1)).simplified();
    }
    return {};
}

QString machine()
{
    const QString cpu = firstLineStartingWith(QStringLiteral("/proc/cpuinfo"), QStringLiteral("model name"));
    const double ramGb = firstLineStartingWith(QStringLiteral("/proc/meminfo"), QStringLiteral("MemTotal"))
                             .split(u' ')
                             .value(0)
                             .toDouble()
        / 1024 / 1024;
    return QStringLiteral("%1, %2 cores, %3 GB RAM").arg(cpu).arg(sysconf(_SC_NPROCESSORS_ONLN)).arg(number(ramGb, 1));
}

QString loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(f.readAll()).split(u' ').mid(0, 3).join(u' ');
}

// name=value lines, as every measuring program prints them.
QMap<QString, QString> parseValues(const QByteArray &output)
{
    QMap<QString, QString> values;
    for (const QByteArray &line : output.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            values.insert(QString::fromUtf8(line.left(equals)).trimmed(),
                          QString::fromUtf8(line.mid(equals + 1)).trimmed());
    }
    return values;
}

// The folders and settings every measured program uses: a fresh home, and a working folder
// set up as the PATH command sets up a user's (the music setting file and the tunes).
class Sandbox {
public:
    Sandbox()
    {
        for (const char *folder : {"home", "config", "data", "cache", "runtime", "work", "silent"})
            QDir(m_root.path()).mkpath(QLatin1String(folder));
        QFile::setPermissions(m_root.filePath(QStringLiteral("runtime")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        const QString data = QStringLiteral(BENCH_DATA_DIR);
        QFile::copy(data + QStringLiteral("/qqq.qq"), workFolder() + QStringLiteral("/qqq.qq"));
        QFile::link(data + QStringLiteral("/music"), workFolder() + QStringLiteral("/music"));
    }

    bool isValid() const { return m_root.isValid(); }
    QString workFolder() const { return m_root.filePath(QStringLiteral("work")); }
    // A working folder without the music setting file: the main program starts no tune there.
    QString silentFolder() const { return m_root.filePath(QStringLiteral("silent")); }
    QString file(const QString &name) const { return m_root.filePath(name); }

    // Headless, as the tests run, so no desktop's whims enter the numbers; no sound card.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_root.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_root.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_root.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), m_root.filePath(QStringLiteral("cache")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_root.filePath(QStringLiteral("runtime")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        env.remove(QStringLiteral("SDL_SOUNDFONTS"));
        return env;
    }

    // For the start-up runs: the soundfont named, so that the main program and the reference
    // playing the tune with plain SDL2_mixer load the same one.
    QProcessEnvironment startEnvironment() const
    {
        QProcessEnvironment env = environment();
        env.insert(QStringLiteral("SDL_SOUNDFONTS"), QLatin1String(timGm6mb));
        return env;
    }

    // The tune the music setting file in the working folder names ("music\\1.mid").
    QString tune() const { return workFolder() + QStringLiteral("/music/1.mid"); }

private:
    QTemporaryDir m_root;
};

// ---- start-up ------------------------------------------------------------------------------

struct StartRun {
    bool ok = false;
    double startMs = 0; // spawn to Form1 (or the bare window) shown and the loop idle
    double rssMb = 0; // resident 1 s after the spawn
    double exitMs = -1; // "exit" sent → the program's output closed, when asked for
    QString problem;
};

// Reads the child's output until a line "key=value" arrives or the deadline passes.
std::optional<qint64> readValue(int fd, QByteArray &buffer, const QByteArray &key, qint64 deadlineNs)
{
    const QByteArray prefix = key + '=';
    for (;;) {
        for (const QByteArray &line : buffer.split('\n')) {
            if (line.startsWith(prefix))
                return line.mid(prefix.size()).toLongLong();
        }
        const qint64 left = (deadlineNs - monotonicNs()) / 1000000;
        if (left <= 0)
            return std::nullopt;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, int(left)) <= 0)
            continue;
        char chunk[512];
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n <= 0)
            return std::nullopt; // the program ended before it said so
        buffer.append(chunk, n);
    }
}

double residentMb(pid_t pid)
{
    const QString kb = firstLineStartingWith(QStringLiteral("/proc/%1/status").arg(pid), QStringLiteral("VmRSS"));
    return kb.split(u' ').value(0).toDouble() / 1024;
}

void endChild(pid_t pid)
{
    ::kill(pid, SIGTERM);
    for (int waited = 0; waited < 500; ++waited) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        QThread::msleep(10);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

// Times the program's own end: the probe triggers 退出 when "exit" arrives on stdin, and the
// program is gone when the kernel closes its end of the output pipe.
std::optional<double> exitOnce(int commandFd, int outputFd)
{
    const qint64 askedNs = monotonicNs();
    if (::write(commandFd, "exit\n", 5) != 5)
        return std::nullopt;
    char chunk[512];
    for (;;) {
        const int left = int(askedNs / 1000000 + 5000 - monotonicNs() / 1000000);
        pollfd p{outputFd, POLLIN, 0};
        if (left <= 0 || ::poll(&p, 1, left) <= 0)
            return std::nullopt;
        const ssize_t n = ::read(outputFd, chunk, sizeof chunk);
        if (n == 0)
            return double(monotonicNs() - askedNs) / 1e6;
        if (n < 0 && errno != EINTR)
            return std::nullopt;
    }
}

StartRun startOnce(const QString &program, const QStringList &arguments, const QString &workFolderPath,
                   const Sandbox &sandbox, bool timeExit)
{
    StartRun run;
    int outputFds[2];
    int commandFds[2];
    if (::pipe2(outputFds, O_CLOEXEC) != 0) {
        run.problem = QStringLiteral("no pipe");
        return run;
    }
    if (::pipe2(commandFds, O_CLOEXEC) != 0) {
        ::close(outputFds[0]);
        ::close(outputFds[1]);
        run.problem = QStringLiteral("no pipe");
        return run;
    }
    const QByteArray programName = QFile::encodeName(program);
    const QByteArray workFolder = QFile::encodeName(workFolderPath);
    const QByteArray errors = QFile::encodeName(sandbox.file(QStringLiteral("start.err")));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, commandFds[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outputFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, workFolder.constData());
    QByteArrayList environment;
    for (const QString &entry : sandbox.startEnvironment().toStringList())
        environment << entry.toLocal8Bit();
    std::vector<char *> envp;
    for (QByteArray &entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    QByteArrayList argumentBytes{programName};
    for (const QString &argument : arguments)
        argumentBytes << QFile::encodeName(argument);
    std::vector<char *> argv;
    for (QByteArray &argument : argumentBytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    const qint64 spawnedNs = monotonicNs();
    const int failed = posix_spawn(&pid, programName.constData(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(outputFds[1]);
    ::close(commandFds[0]);
    if (failed) {
        ::close(outputFds[0]);
        ::close(commandFds[1]);
        run.problem = QStringLiteral("cannot start %1: %2").arg(program, QString::fromLocal8Bit(strerror(failed)));
        return run;
    }

    QByteArray output;
    const std::optional<qint64> idleNs =
        readValue(outputFds[0], output, "idle_ns", spawnedNs + 20 * qint64(1000000000));
    if (idleNs) {
        const timespec at{time_t((spawnedNs + rssAfterNs) / 1000000000), long((spawnedNs + rssAfterNs) % 1000000000)};
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {}
        run.rssMb = residentMb(pid);
        run.startMs = double(*idleNs - spawnedNs) / 1e6;
        run.ok = run.rssMb > 0;
    }
    if (run.ok && timeExit) {
        const std::optional<double> exitMs = exitOnce(commandFds[1], outputFds[0]);
        run.ok = exitMs.has_value();
        run.exitMs = exitMs.value_or(-1);
        if (!run.ok)
            run.problem = QStringLiteral("%1 did not end within 5 s of 退出").arg(QFileInfo(program).fileName());
    }
    if (!run.ok && run.problem.isEmpty()) {
        QFile log(sandbox.file(QStringLiteral("start.err")));
        log.open(QIODevice::ReadOnly);
        run.problem = QStringLiteral("%1 never came up: %2")
                          .arg(QFileInfo(program).fileName(), QString::fromLocal8Bit(log.readAll()).trimmed());
    }
    endChild(pid);
    ::close(outputFds[0]);
    ::close(commandFds[1]);
    return run;
}

// The figures of one program's start-up runs.
struct StartSeries {
    std::vector<double> ms, mb;
    std::vector<double> exitMs; // only where the run ends by the program's 退出
};

struct StartResults {
    StartSeries ours, tune, bare, silent, barePlayer;
    QString problem;
};

StartResults measureStart(const Sandbox &sandbox)
{
    StartResults results;
    struct Variant {
        QString program;
        QStringList arguments;
        QString workFolder;
        StartSeries *series;
        bool endsByExitItem;
    };
    // The main program as a user starts it, ended by its 退出, and the reference that maps a
    // bare window and plays the same tune; for information, the bare window alone; for the
    // notes, the main program where it finds no tune to play and the bare window with the
    // player's libraries.
    const QString work = sandbox.workFolder();
    const Variant variants[] = {
        {QStringLiteral(BENCH_START_MORVANE), {}, work, &results.ours, true},
        {QStringLiteral(BENCH_START_BARE_TUNE), {sandbox.tune()}, work, &results.tune, false},
        {QStringLiteral(BENCH_START_BARE), {}, work, &results.bare, false},
        {QStringLiteral(BENCH_START_MORVANE), {}, sandbox.silentFolder(), &results.silent, false},
        {QStringLiteral(BENCH_START_BARE_PLAYER), {}, work, &results.barePlayer, false},
    };
    constexpr int count = int(std::size(variants));
    for (int run = -1; run < startRuns; ++run) {
        progress(run < 0 ? QStringLiteral("start-up: warm-up")
                         : QStringLiteral("start-up: run %1 of %2").arg(run + 1).arg(startRuns));
        // Each round begins with another, so a burst of load elsewhere does not fall on one side.
        for (int turn = 0; turn < count; ++turn) {
            const Variant &variant = variants[(turn + run + count) % count];
            const StartRun one =
                startOnce(variant.program, variant.arguments, variant.workFolder, sandbox, variant.endsByExitItem);
            if (!one.ok) {
                results.problem = one.problem;
                return results;
            }
            if (run < 0)
                continue;
            variant.series->ms.push_back(one.startMs);
            variant.series->mb.push_back(one.rssMb);
            if (variant.endsByExitItem)
                variant.series->exitMs.push_back(one.exitMs);
        }
    }
    return results;
}

// ---- programs that measure inside themselves -----------------------------------------------

struct Measured {
    QMap<QString, QString> values;
    QString problem; // empty when the program ran to its end
    double value(const char *name) const { return values.value(QLatin1String(name)).toDouble(); }
};

Measured runMeasuring(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment,
                      const QString &workFolder, int timeoutMs)
{
    Measured measured;
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workFolder);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        measured.problem =
            QStringLiteral("%1 did not finish within %2 s").arg(QFileInfo(program).fileName()).arg(timeoutMs / 1000);
        return measured;
    }
    measured.values = parseValues(process.readAllStandardOutput());
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QStringList errors = QString::fromLocal8Bit(process.readAllStandardError()).trimmed().split(u'\n');
        measured.problem = QStringLiteral("%1 failed: %2").arg(QFileInfo(program).fileName(), errors.last());
    }
    return measured;
}

// The largest General MIDI soundfont installed other than TimGM6mb, if it counts as large.
QString largeSoundFont()
{
    const QString small = QFileInfo(QLatin1String(timGm6mb)).canonicalFilePath();
    QString best;
    qint64 bestSize = 0;
    for (const char *folder : {"/usr/share/sounds/sf2", "/usr/share/sounds/sf3", "/usr/share/soundfonts"}) {
        const QFileInfoList fonts =
            QDir(QLatin1String(folder)).entryInfoList({QStringLiteral("*.sf2"), QStringLiteral("*.sf3")}, QDir::Files);
        for (const QFileInfo &font : fonts) {
            const QFileInfo real(font.canonicalFilePath());
            if (real.filePath() != small && real.size() >= largeSoundFontBytes && real.size() > bestSize) {
                best = real.filePath();
                bestSize = real.size();
            }
        }
    }
    return best;
}

// ---- the table -----------------------------------------------------------------------------

struct Row {
    QString measure, ours, reference, ratio, goal, met;
};

QString yesNo(bool met)
{
    return met ? QStringLiteral("yes") : QStringLiteral("**no**");
}

Row notMeasured(const QString &measure, const QString &goal, const QString &why)
{
    return {measure,
            QStringLiteral("not measured: ") + why,
            QStringLiteral("—"),
            QStringLiteral("—"),
            goal,
            QStringLiteral("—")};
}

QString render(const QList<Row> &rows)
{
    QString table =
        QStringLiteral("| Measure | Morvane | Reference, same run | Ratio | Goal | Met |\n|---|---|---|---|---|---|\n");
    for (const Row &row : rows)
        table += QStringList{row.measure, row.ours, row.reference, row.ratio, row.goal, row.met}
                     .join(QStringLiteral(" | "))
                     .prepend(QStringLiteral("| "))
            + QStringLiteral(" |\n");
    return table;
}

void addStartRows(QList<Row> &rows, QStringList &notes, const Sandbox &sandbox)
{
    const QString timeName = QStringLiteral("Start-up: process start → Form1 shown, event loop idle");
    const QString memoryName = QStringLiteral("Resident memory 1 s after start");
    const QString timeGoal = QStringLiteral("ratio ≤ 1.10");
    const QString memoryGoal = QStringLiteral("ratio ≤ 1.20");
    const StartResults start = measureStart(sandbox);
    if (!start.problem.isEmpty()) {
        rows << notMeasured(timeName, timeGoal, start.problem) << notMeasured(memoryName, memoryGoal, start.problem);
        return;
    }
    const Summary ourMs = summarise(start.ours.ms), tuneMs = summarise(start.tune.ms),
                  bareMs = summarise(start.bare.ms);
    const Summary ourMb = summarise(start.ours.mb), tuneMb = summarise(start.tune.mb),
                  bareMb = summarise(start.bare.mb);
    const QString tuneReference = QStringLiteral("bare QMainWindow + plain SDL2_mixer playing the tune: ");
    const QString bareReference = QStringLiteral("bare QMainWindow, no tune: ");
    const QString information = QStringLiteral("none: for information");
    const double timeRatio = ourMs.median / tuneMs.median;
    const double memoryRatio = ourMb.median / tuneMb.median;
    rows << Row{timeName + QStringLiteral(" (median of %1, lowest–highest)").arg(ourMs.count),
                withSpread(ourMs, 1, QStringLiteral("ms")),
                tuneReference + withSpread(tuneMs, 1, QStringLiteral("ms")),
                number(timeRatio, 2),
                timeGoal,
                yesNo(timeRatio <= 1.10)};
    rows << Row{memoryName + QStringLiteral(" (VmRSS, median of %1)").arg(ourMb.count),
                withSpread(ourMb, 1, QStringLiteral("MB")),
                tuneReference + withSpread(tuneMb, 1, QStringLiteral("MB")),
                number(memoryRatio, 2),
                memoryGoal,
                yesNo(memoryRatio <= 1.20)};
    rows << Row{timeName + QStringLiteral(", against a window that plays nothing"),
                withSpread(ourMs, 1, QStringLiteral("ms")),
                bareReference + withSpread(bareMs, 1, QStringLiteral("ms")),
                number(ourMs.median / bareMs.median, 2),
                information,
                QStringLiteral("—")};
    rows << Row{memoryName + QStringLiteral(", against a window that plays nothing"),
                withSpread(ourMb, 1, QStringLiteral("MB")),
                bareReference + withSpread(bareMb, 1, QStringLiteral("MB")),
                number(ourMb.median / bareMb.median, 2),
                information,
                QStringLiteral("—")};
    const Summary silentMs = summarise(start.silent.ms), silentMb = summarise(start.silent.mb);
    const Summary barePlayerMs = summarise(start.barePlayer.ms), barePlayerMb = summarise(start.barePlayer.mb);
    notes << QStringLiteral(
                 "Where the start-up goes, same runs: the bare main window linked with the music player's "
                 "libraries (SDL2_mixer, SDL2, FluidSynth), the player made but never told anything: %1, %2; "
                 "the main program where it finds no tune to play (no qqq.qq in its working folder): %3, %4.")
                 .arg(withSpread(barePlayerMs, 1, QStringLiteral("ms")),
                      withSpread(barePlayerMb, 1, QStringLiteral("MB")), withSpread(silentMs, 1, QStringLiteral("ms")),
                      withSpread(silentMb, 1, QStringLiteral("MB")));
    notes << QStringLiteral(
                 "退出 while the tune plays, 1 s after the start: the main program was gone %1 after the item "
                 "was triggered (median of %2; triggered by the probe, timed until the program's output closed).")
                 .arg(withSpread(summarise(start.ours.exitMs), 1, QStringLiteral("ms")))
                 .arg(start.ours.exitMs.size());
}

void addGenerateRow(QList<Row> &rows, const Sandbox &sandbox)
{
    const QString name = QStringLiteral("生成: click → block appended and read back (median of 200)");
    progress(QStringLiteral("生成: 200 clicks"));
    const Measured m =
        runMeasuring(QStringLiteral(BENCH_GENERATE), {}, sandbox.environment(), sandbox.workFolder(), 300000);
    if (!m.problem.isEmpty()) {
        rows << notMeasured(name, QStringLiteral("≤ 5 ms"), m.problem);
        return;
    }
    // Thousandths: a click takes some tens of microseconds.
    const double ms = m.value("generate_median_ms");
    rows << Row{name,
                QStringLiteral("%1 ms (%2–%3)")
                    .arg(number(ms, 3), number(m.value("generate_min_ms"), 3), number(m.value("generate_max_ms"), 2)),
                QStringLiteral("plain QFile append + read-back: %1 ms (%2–%3)")
                    .arg(number(m.value("plain_append_median_ms"), 3), number(m.value("plain_append_min_ms"), 3),
                         number(m.value("plain_append_max_ms"), 2)),
                number(ms / m.value("plain_append_median_ms"), 1),
                QStringLiteral("≤ 5 ms"),
                yesNo(ms <= 5)};
}

void addPreviewRow(QList<Row> &rows, const Sandbox &sandbox)
{
    const QString name = QStringLiteral("Preview: 1920 × 1080 JPEG into Image1 (median of 41)");
    progress(QStringLiteral("preview: 1920 x 1080 JPEG"));
    const Measured m =
        runMeasuring(QStringLiteral(BENCH_PREVIEW), {}, sandbox.environment(), sandbox.workFolder(), 300000);
    if (!m.problem.isEmpty()) {
        rows << notMeasured(name, QStringLiteral("ratio ≤ 1.1"), m.problem);
        return;
    }
    const double ratio = m.value("preview_median_ms") / m.value("reader_median_ms");
    rows << Row{name,
                QStringLiteral("%1 ms (%2–%3)")
                    .arg(number(m.value("preview_median_ms"), 1), number(m.value("preview_min_ms"), 1),
                         number(m.value("preview_max_ms"), 1)),
                QStringLiteral("QImageReader::read: %1 ms (%2–%3)")
                    .arg(number(m.value("reader_median_ms"), 1), number(m.value("reader_min_ms"), 1),
                         number(m.value("reader_max_ms"), 1)),
                number(ratio, 2),
                QStringLiteral("ratio ≤ 1.1"),
                yesNo(ratio <= 1.1)};
}

void addMusicRow(QList<Row> &rows, QStringList &notes, const Sandbox &sandbox, const QString &soundFont,
                 const QString &label)
{
    const QString name = QStringLiteral("Music (%1): longest hold of the window thread by one command").arg(label);
    progress(QStringLiteral("music with %1").arg(soundFont));
    QProcessEnvironment environment = sandbox.environment();
    const QString output = sandbox.file(QStringLiteral("music.raw"));
    // The disk driver writes what would be heard, so the run can tell the tune sounded.
    environment.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("disk"));
    environment.insert(QStringLiteral("SDL_DISKAUDIOFILE"), output);
    environment.insert(QStringLiteral("SDL_SOUNDFONTS"), soundFont);
    const Measured m =
        runMeasuring(QStringLiteral(BENCH_MUSIC), {QStringLiteral(BENCH_DATA_DIR "/music/1.mid"), output}, environment,
                     sandbox.workFolder(), 600000);
    QFile::remove(output);
    if (!m.problem.isEmpty()) {
        rows << notMeasured(name, QStringLiteral("≤ 10 ms"), m.problem);
        return;
    }
    const double worst = m.value("worst_ms");
    rows << Row{name + QStringLiteral(" (worst of %1 calls of each)").arg(m.value("calls_per_command")),
                QStringLiteral("%1 ms (%2)").arg(number(worst, 3), m.values.value(QStringLiteral("worst_command"))),
                QStringLiteral("queued call to an idle QThread: %1 ms").arg(number(m.value("queued_worst_ms"), 3)),
                number(worst / m.value("queued_worst_ms"), 2),
                QStringLiteral("≤ 10 ms"),
                yesNo(worst <= 10)};
    const double firstSound = m.value("first_sound_ms");
    notes << QStringLiteral("Music with %1: the tune was %2.")
                 .arg(label,
                      firstSound < 0
                          ? QStringLiteral("never heard")
                          : QStringLiteral("first heard %1 ms after the name was set").arg(number(firstSound, 0)));
}

void addListRows(QList<Row> &rows, const Sandbox &sandbox)
{
    const QString goalHold = QStringLiteral("< 500 ms");
    const QString goalMemory = QStringLiteral("< 30 MB");
#ifdef BENCH_LISTS
    progress(QStringLiteral("folder lists: bench_lists (makes 100 000 folders; takes a while)"));
    const Measured m =
        runMeasuring(QStringLiteral(BENCH_LISTS), {}, sandbox.environment(), sandbox.workFolder(), 900000);
    // folders100k_<window>_<measure>, or without the window where the program names none.
    static const QRegularExpression key(QStringLiteral("^folders100k_(?:([a-z]+)_)?(open_ms|fill_held_ms|rss_mb)$"));
    QMap<QString, QMap<QString, double>> windows;
    for (auto it = m.values.cbegin(); it != m.values.cend(); ++it) {
        const QRegularExpressionMatch match = key.match(it.key());
        if (match.hasMatch())
            windows[match.captured(1)][match.captured(2)] = it.value().toDouble();
    }
    if (windows.isEmpty()) {
        rows << notMeasured(QStringLiteral("Folder lists: a folder of 100 000 subfolders"),
                            goalHold + QStringLiteral(", ") + goalMemory,
                            m.problem.isEmpty() ? QStringLiteral("bench_lists printed no folders100k lines")
                                                : m.problem);
        return;
    }
    const QMap<QString, QString> windowNames{
        {QStringLiteral("skinmaker"), QStringLiteral("main program's 浏览 window")},
        {QStringLiteral("setter"), QStringLiteral("music setter's browse window")},
        {QString(), QStringLiteral("browse window")}};
    // The main program's window first, then the setter's, then any the program names besides.
    QStringList order{QStringLiteral("skinmaker"), QStringLiteral("setter")};
    for (const QString &name : windows.keys()) {
        if (!order.contains(name))
            order << name;
    }
    for (const QString &name : order) {
        if (!windows.contains(name))
            continue;
        const QMap<QString, double> &measures = windows.value(name);
        const QString window = windowNames.value(name, name);
        // The window is held while the folder opens and again while the lists fill.
        const double held =
            std::max(measures.value(QStringLiteral("open_ms")), measures.value(QStringLiteral("fill_held_ms")));
        const double grown = measures.value(QStringLiteral("rss_mb"));
        rows << Row{QStringLiteral("Folder lists, 100 000 subfolders, %1: longest hold of the window").arg(window),
                    number(held, 0) + QStringLiteral(" ms"),
                    QStringLiteral("—"),
                    QStringLiteral("—"),
                    goalHold,
                    yesNo(held < 500)};
        rows << Row{QStringLiteral("Folder lists, 100 000 subfolders, %1: memory grown").arg(window),
                    number(grown, 1) + QStringLiteral(" MB"),
                    QStringLiteral("—"),
                    QStringLiteral("—"),
                    goalMemory,
                    yesNo(grown < 30)};
    }
    if (!m.problem.isEmpty())
        rows << notMeasured(QStringLiteral("Folder lists"), goalHold, m.problem);
#else
    Q_UNUSED(sandbox);
    rows << notMeasured(QStringLiteral("Folder lists: a folder of 100 000 subfolders, both browse windows"),
                        goalHold + QStringLiteral(" and ") + goalMemory,
                        QStringLiteral("bench_lists is not in this checkout"));
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QString outputFile = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const Sandbox sandbox;
    if (!sandbox.isValid()) {
        progress(QStringLiteral("no temporary folder"));
        return 1;
    }

    const QString loadBefore = loadAverage();
    QElapsedTimer total;
    total.start();
    QList<Row> rows;
    QStringList notes;
    addStartRows(rows, notes, sandbox);
    addGenerateRow(rows, sandbox);
    addPreviewRow(rows, sandbox);
    addMusicRow(rows, notes, sandbox, QLatin1String(timGm6mb), QStringLiteral("TimGM6mb"));
    const QString large = largeSoundFont();
    if (large.isEmpty())
        rows << Row{QStringLiteral("Music (large soundfont)"),
                    QStringLiteral("no large soundfont installed"),
                    QStringLiteral("—"),
                    QStringLiteral("—"),
                    QStringLiteral("≤ 10 ms"),
                    QStringLiteral("—")};
    else
        addMusicRow(rows, notes, sandbox, large, QFileInfo(large).fileName());
    addListRows(rows, sandbox);

    QString report = QStringLiteral("Measured %1 on %2; load average %3 before, %4 after; %5 s in all.\n\n")
                         .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")), machine(),
                              loadBefore, loadAverage(), number(double(total.elapsed()) / 1000, 0));
    report += render(rows);
    report += QStringLiteral(
        "\nRelease build; headless (QT_QPA_PLATFORM=offscreen); start-up runs take turns "
        "between the programs after one warm-up each; memory is VmRSS; sound on SDL's dummy or disk driver.\n");
    // Paragraphs of their own, so Markdown does not run them together.
    for (const QString &note : notes)
        report += u'\n' + note + u'\n';

    std::fputs(report.toUtf8().constData(), stdout);
    if (!outputFile.isEmpty()) {
        QFile file(outputFile);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(report.toUtf8()) < 0)
            progress(QStringLiteral("could not write %1").arg(outputFile));
        else
            progress(QStringLiteral("written to %1").arg(outputFile));
    }
    return 0;
}
