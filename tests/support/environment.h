#pragma once

#include <QByteArray>
#include <QMap>
#include <QSemaphore>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// Helpers for every test program, windows or not: an isolated home and working folder, a
// file-size limit, folders of many entries, a held thread pool, the memory in use, and reading
// and writing raw files. Qt Core only.
namespace testsupport {

// Points HOME, the XDG folders and WINEPREFIX into a fresh temporary folder and makes a
// fresh working folder current, so no test touches a real user's settings or files.
class IsolatedEnvironment {
public:
    IsolatedEnvironment();
    QString root() const { return m_root.path(); }
    QString workFolder() const;
    QString winePrefix() const;

private:
    QTemporaryDir m_root;
};

// While it lives, writes past this many bytes into any file fail part-way (as on a full
// disk), even for root. It leaves the signal such a write raises alone: the code under test
// must ignore it, as the programs do, or the test program ends.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    qint64 m_savedSoft = 0;
};

// Every file and folder below a folder, files with their bytes: equal snapshots taken
// before and after an action show that it wrote nothing. The paths left out (files, or
// folders with everything below them) are neither listed nor read.
QMap<QString, QByteArray> snapshot(const QString &folder, const QStringList &leftOut = {});

// A folder of many entries, made and removed by name: far faster than removing the folder
// recursively, which looks at each entry first. Entry i is called "Entry" or, for odd i,
// "entry" with i in five digits, files ending in the suffixes in turn; they are made in a
// scrambled order, so the order the disk keeps them in says nothing about their names.
class ManyEntries {
public:
    enum Kind { Folders, Files };
    ManyEntries(const QString &path, int count, Kind kind, const QStringList &suffixes = {});
    ~ManyEntries();
    ManyEntries(const ManyEntries &) = delete;
    ManyEntries &operator=(const ManyEntries &) = delete;

    bool isValid() const { return m_made == m_count; }
    QString path() const { return m_path; }
    int count() const { return m_count; }
    QString name(int i) const;

private:
    QString m_path;
    int m_count = 0;
    Kind m_kind = Folders;
    QStringList m_suffixes;
    int m_made = 0;
};

// Keeps every thread of the application's thread pool busy while it lives, so that work
// started on the pool meanwhile waits until it lets go: what the lists read there stays
// unread however fast the machine is.
class HeldThreadPool {
public:
    HeldThreadPool();
    ~HeldThreadPool() { release(); }
    HeldThreadPool(const HeldThreadPool &) = delete;
    HeldThreadPool &operator=(const HeldThreadPool &) = delete;

    void release();

private:
    std::shared_ptr<QSemaphore> m_gate;
    int m_held = 0;
};

// The settings store of this program, where QSettings keeps it. Asked once, at the first
// call, before a test puts a pipe there, which QSettings would wait on.
QString settingsStore();

// The memory the process keeps in RAM, in megabytes; 0 where the system does not tell.
double residentMegabytes();

QByteArray readBytes(const QString &path);
bool writeBytes(const QString &path, const QByteArray &bytes);
// The text in GBK, encoded by Qt directly rather than by the code under test.
QByteArray gbk(const QString &text);

} // namespace testsupport
