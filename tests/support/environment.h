#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Helpers for every test program, windows or not: an isolated home and working folder, a
// file-size limit, and reading and writing raw files. Qt Core only.
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

QByteArray readBytes(const QString &path);
bool writeBytes(const QString &path, const QByteArray &bytes);
// The text in GBK, encoded by Qt directly rather than by the code under test.
QByteArray gbk(const QString &text);

} // namespace testsupport
