#pragma once
// Opening and saving mine documents on disk: the one path the editor's document window and the
// command-line tool both go through. Failures raise TFileError: the message the user sees, the
// file's path and the reason alone.
#include <QByteArrayView>
#include <QString>

class TMineDocument;

class TMineFile {
public:
    // Reads the file at path into doc (newly created). On success the mine is unmodified, the
    // document has a file and path is its FileName.
    static void Load(TMineDocument &doc, const QString &path);
    // Reads a whole file held in memory (standard input of the tool); name stands for the file
    // in the errors. The document gets no file.
    static void LoadBytes(TMineDocument &doc, QByteArrayView bytes, const QString &name);

    // Writes doc as a current-version file at path through TSafeFile: a failed save leaves the
    // previous file as it was. FileName becomes path in any case; on success the document has a file and
    // the mine is unmodified, on failure both stay as they were.
    static void Save(TMineDocument &doc, const QString &path);

    // Tests only: called once the file is open and its size known, before its bytes are read
    // (a test shortens the file there, as another program might).
    static void SetReadHookForTests(void (*hook)(const QString &path));
};
