#pragma once
// Writes a document as a mine file of the current version (1.19), in memory or into a device.
#include <QByteArray>

class QIODevice;
class TMineDocument;

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
