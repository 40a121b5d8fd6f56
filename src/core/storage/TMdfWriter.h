#pragma once
// Writes a document as a mine file of the current version (1.19), in memory or into a device.
#include <QByteArray>

#include <memory>

class QIODevice;
class TByteWriter;
class TMineDocument;
struct TMdfLayout;

class TMdfWriter {
public:
    // Removes the empty nodes and branches first (they never reach a file), then lays out the
    // whole file; the size field at offset 11 is filled in last.
    static QByteArray Write(TMineDocument &doc);
    // The same bytes written into device (open for writing, at its start, able to seek back to
    // the size field) in chunks as they are laid out; a failed write raises AppError.
    static void Write(TMineDocument &doc, QIODevice &device);
    // The document's bytes as it stands, empty nodes and branches included and nothing in it
    // changed: the snapshot a recovery file keeps of a document while it is being edited (a
    // row just added and not yet filled in must not vanish under the user's hands).
    static QByteArray Snapshot(const TMineDocument &doc);
};

// TMdfWriter::Snapshot laid out a slice at a time, for a document that is being edited on the
// thread that lays it out: no slice holds that thread up for long, whatever the size of the
// mine, and the edits wait between slices. The document must not change while the snapshot is
// under way: a caller that lets it change between two steps (rows added or removed, a value
// set) must throw the snapshot away and start another.
class TMdfSnapshot {
public:
    explicit TMdfSnapshot(const TMineDocument &doc);
    ~TMdfSnapshot();
    TMdfSnapshot(const TMdfSnapshot &) = delete;
    TMdfSnapshot &operator=(const TMdfSnapshot &) = delete;

    // Lays out about elements more nodes, branches and stoppings (the title, notes, seams and
    // plan positions come with the first step); true once the file is complete.
    bool Step(qint64 elements);
    // The file's bytes, once Step has returned true; Snapshot(doc) gives the same.
    QByteArray TakeBytes();

private:
    const TMineDocument &FDoc;
    std::unique_ptr<TByteWriter> FOut;
    std::unique_ptr<TMdfLayout> FLayout;
};
