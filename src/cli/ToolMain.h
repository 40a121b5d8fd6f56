#pragma once
// What tarvel-mdf and the program it starts for pictures and reports (tarvel-mdf-pictures) have
// in common: the usage text, the exit codes and the errors that end a command.
//
// Pictures and reports set text in fonts, which takes Qt Gui and the font libraries; starting
// them costs every command a few milliseconds and megabytes, so only the pictures program
// links them, and tarvel-mdf hands it those command lines whole (same arguments, same output,
// same exit codes).
#include <QByteArray>
#include <QString>
#include <cstdio>
#include <functional>

namespace ToolMain {

inline constexpr int kOk = 0;
inline constexpr int kFileError = 2;
inline constexpr int kUsage = 64;

// Writes and flushes at once (stdout and stderr interleave as the user reads them).
void Write(FILE *stream, const QByteArray &bytes);
// The usage text on stdout (for -h); status kOk.
int Help();
// The problem, if any, and the usage text on stderr; status kUsage.
int Usage(const QString &problem);
// Runs a command, turning the errors that end it into their message on stderr and kFileError.
int Guarded(const std::function<int()> &command);

// The command line asks for a picture or a report.
bool WantsPictures(int argc, char *argv[]);

} // namespace ToolMain
