#pragma once
// Writes a document as a mine file of the current version (1.19), in memory.
#include <QByteArray>

class TMineDocument;

class TMdfWriter {
public:
    // Removes the empty nodes and branches first (they never reach a file), then lays out the
    // whole file; the size field at offset 11 is filled in last.
    static QByteArray Write(TMineDocument &doc);
};
