#pragma once
// Whether a file is a mine document by its first bytes, whatever its name: the desktop finds
// mine files by the same signature (the file type installed with the program), so a copy saved
// without ".mdf" or mailed as "mine.dat" still opens in the editor. Only the signature is read:
// the reader decides the rest.
#include <QString>

enum class TMineSignature {
    Present,      // a regular file that starts with the signature
    Absent,       // a regular file that does not (shorter than the signature, too)
    Missing,      // nothing stands at the path
    Folder,       // a folder stands there
    NotRegular,   // a pipe, device or socket: never opened for reading whole
    Unreadable,   // there, but this user may not read it
};

TMineSignature ReadMineSignature(const QString &path);
