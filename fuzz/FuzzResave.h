#pragma once
// What the fuzz targets ask of a saved file: it reads again and saves anew. A file the writer made
// that the reader refuses is a finding, so the process aborts there.
#include "AppError.h"
#include "storage/TMdfReader.h"
#include "storage/TMdfWriter.h"
#include "storage/TMineDocument.h"

#include <QByteArray>
#include <cstdlib>

inline QByteArray Resave(const QByteArray &bytes)
{
    TMineDocument doc;
    try {
        TMdfReader::Read(bytes, doc);
    } catch (const AppError &) {
        std::abort();
    }
    return TMdfWriter::Write(doc);
}
