#pragma once
// Replacing a file the user owns: a mine, a CSV export, a report, a scheme picture, a recovery
// file. Every writer of the program goes through this one device.
//
// The bytes go to a new file beside the old one. Every write, the last flush and the close are
// checked, and only a complete new file takes the old one's name (a rename, so that a reader
// sees the old file or the new one, never a part). A failure leaves the old file as it was and
// no new file behind, and is raised as TFileError: the path, the reason alone and the message
// the editor shows ("Ошибка при записи в файл").
//
//   TSafeFile out(path);
//   out.Open();      // refuses a folder, pipe, device or socket at path, and a read-only file
//   ... write into out, or hand it to QPdfWriter, QImageWriter, QSvgGenerator, TMdfWriter ...
//   out.Commit();    // raises if anything failed; from here path holds the new bytes
//
// The PDF, SVG and image writers do not look at what a write returns; they cannot hide a full
// disk here: the first failure is kept, every later write fails at once, and Commit raises it.
// Destroyed without a Commit, the new file is removed. A link at path is followed: the file it
// names is replaced and the link stays a link; a new file keeps the old one's permissions.
#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>

class TSafeFile : public QIODevice {
public:
    explicit TSafeFile(const QString &path);
    // Writes into a descriptor that is already open (standard output), with the same checks:
    // nothing to replace, Commit writes out the rest. name stands for it in the errors.
    TSafeFile(int fd, const QString &name);
    ~TSafeFile() override;
    TSafeFile(const TSafeFile &) = delete;
    TSafeFile &operator=(const TSafeFile &) = delete;

    const QString &Path() const { return FPath; }

    // Opens the new file for writing. Raises TFileError when path is empty, names something
    // other than a regular file, a file that is not writable, or a folder where no file can be
    // created.
    void Open();
    // Replaces the file at path with everything written; raises TFileError when any write, the
    // flush, the close or the rename failed, the old file then as it was.
    void Commit();
    // A write has failed (Commit will raise).
    bool Failed() const { return FErrno != 0; }

    // Several files that belong together (the two CSV files of a network): each replaced, or
    // none. All are written and closed before the first takes its name; when a later one cannot
    // take its name, the earlier ones get their old files back.
    static void CommitAll(const QList<TSafeFile *> &files);

    // The whole of bytes into the file at path, as above.
    static void Write(const QString &path, const QByteArray &bytes);

    bool isSequential() const override { return FStream; }
    bool seek(qint64 pos) override;
    qint64 size() const override { return FSize; }
    // Writes out what is buffered; the new file stays pending until Commit.
    void close() override;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 len) override;

private:
    bool Flush();
    bool WriteOut(const char *data, qint64 len);
    void Finish();
    void Discard();
    [[noreturn]] void FailWrite(int errnoValue);

    QString FPath;
    QByteArray FTarget; // the file that is replaced (path, or the file a link at path names)
    QByteArray FTemp;   // the new file until it takes the target's name
    QByteArray FBuffer;
    int FFd = -1;
    int FErrno = 0;     // the first failure
    qint64 FSize = 0;
    bool FStream = false; // FFd was open already and stays open
};
