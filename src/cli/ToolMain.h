#pragma once
// What tarvel-mdf and the program it starts for pictures and reports (tarvel-mdf-pictures) have
// in common: the commands and the rules of their command lines, the usage text, the exit codes
// and the errors that end a command.
//
// A command is one entry of Commands() (its operands with what it does with each, its options,
// its usage line) and one runner in the program that makes it. The rules hold for every command
// by construction, checked before any work: the number of operands; every option known, given
// once and with its value; an output whose name ends as the command writes it; no output that is
// one of the command's inputs (the same file, through links too). Breaking one is a usage error.
//
// Pictures and reports set text in fonts, which takes Qt Gui and the font libraries; starting
// them costs every command a few milliseconds and megabytes, so only the pictures program
// links them, and tarvel-mdf hands it those command lines whole (same arguments, same output,
// same exit codes).
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <functional>
#include <optional>

namespace ToolMain {

inline constexpr int kOk = 0;
inline constexpr int kFileError = 2;
inline constexpr int kUsage = 64;

// What a command does with an operand.
enum class TUse {
    Read,      // reads the file
    Write,     // replaces the file with what it makes
    WriteInto, // a folder it writes the files of TOperand::Files into
};

struct TOperand {
    QString Role;           // as the usage text names it: FILE, IN, OUT, NODES, BRANCHES, DIR
    TUse Use = TUse::Read;
    QStringList Extensions; // Write: the endings its name may have (".pdf"), in any letter case
    QStringList Files;      // WriteInto: the names of the files written into the folder
};

struct TOption {
    QString Name;           // "--parts"
    bool TakesValue = true; // the next argument is its value, whatever it looks like
};

struct TCommand {
    QString Name;
    QList<TOperand> Operands;
    QList<TOption> Options;
    QString Usage;          // after "tarvel-mdf ", as the usage text shows it (may run over lines)
    bool Pictures = false;  // made by tarvel-mdf-pictures
};

// Every command, in the order of the usage text.
const QList<TCommand> &Commands();
const TCommand *FindCommand(const QString &name);

// A command line that keeps the rules above.
struct TInvocation {
    const TCommand *Command = nullptr;
    QStringList Operands;          // in the order of Command->Operands
    QMap<QString, QString> Options; // those given, with their values (empty for a flag)

    QString Operand(const QString &role) const;
    bool Has(const QString &option) const { return Options.contains(option); }
    QString Option(const QString &option, const QString &fallback = QString()) const
    {
        return Options.value(option, fallback);
    }
};

// The arguments after the program's name checked against Commands(). Anything else than an
// invocation (no command, an unknown one, a broken rule, --help) has been answered on stdout or
// stderr, and *status is the exit code.
std::optional<TInvocation> Parse(const QStringList &args, int *status);

// Writes and flushes at once (stdout and stderr interleave as the user reads them).
void Write(FILE *stream, const QByteArray &bytes);
// The usage text on stdout (for -h); status kOk.
int Help();
// The problem, if any, and the usage text on stderr; status kUsage.
int Usage(const QString &problem);
// Runs a command, turning the errors that end it into their message on stderr and kFileError.
int Guarded(const std::function<int()> &command);

using TRunner = std::function<int(const TInvocation &)>;
// Runs the invocation's runner (Guarded).
int Run(const TInvocation &invocation, const QMap<QString, TRunner> &runners);

} // namespace ToolMain
