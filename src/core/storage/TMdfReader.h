#pragma once
// Reads the bytes of a mine file of any version up to the current one into a new document.
// Older versions get the defaults of what they lack. Any bytes give either a filled document or
// an AppError with the full message: counts and lengths are checked against what is left of the
// file before anything is created, and nothing is read past the end.
#include <QByteArrayView>

class TMineDocument;

class TMdfReader {
public:
    // Fills doc, which must be newly created (no elements yet). The mine is in its bulk-update
    // state while reading and ends unmodified. On failure the document holds what was read so
    // far and is to be thrown away.
    static void Read(QByteArrayView bytes, TMineDocument &doc);
    // The same from the file open on descriptor fd, size bytes long, read from its start a
    // chunk at a time (the descriptor's own position is not used). A file that turns out
    // shorter than size is damaged.
    static void ReadFile(int fd, qint64 size, TMineDocument &doc);

    // A file's people of versions before 1.19 are a bare count per branch; their total is
    // limited so that a few bytes cannot make the reader create millions of people.
    static qint64 OldPeopleLimit(qint64 fileSize);
};
