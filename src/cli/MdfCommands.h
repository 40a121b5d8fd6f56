#pragma once
// The commands of tarvel-mdf. Each reads (and convert writes) through the same core path the
// editor uses; file failures come out as AppError and are reported by main.
#include <QByteArray>
#include <QString>
#include <cstdio>

class TMineDocument;

namespace MdfCommands {

// "1.19" for version 119.
QString VersionText(int version);
// Version, title and element counts, one "Name: value" line each.
QByteArray Info(const TMineDocument &doc);
// The whole document as one JSON object.
QByteArray Dump(const TMineDocument &doc);
// The same, written to out as it is produced; false when out reported a write error.
bool Dump(const TMineDocument &doc, std::FILE *out);

} // namespace MdfCommands
