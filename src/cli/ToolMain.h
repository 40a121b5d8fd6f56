#pragma once
// What tarvel-mdf and the program it starts for pictures and reports (tarvel-mdf-pictures) have
// in common: the commands and the rules of their command lines, the usage and help texts, the
// exit codes, standard input and output as files, and the one line an error ends a command with.
//
// A command is one entry of Commands() (its operands with what it does with each, its options,
// its usage line and help) and one runner in the program that makes it. Every command keeps
// these conventions by construction, checked before any work:
//  - --help or -h after the command prints its help, --version or -V alone the version, on
//    stdout with exit 0; -- ends the options (a file may be called "-x" after it);
//  - the number of operands; every option known, given once and with its value;
//  - an output whose name ends as the command writes it, and no output that is one of the
//    command's inputs (the same file, through links too);
//  - "-" as an input reads standard input (whole, at most kMaxInput bytes, never a terminal),
//    as an output writes standard output (never a terminal); one input at most;
//  - an error is one line on stderr naming the file and its role as the usage names it:
//    "tarvel-mdf: OUT /missing/dir/out.mdf: папка не существует", exit status 2.
// Breaking a rule is a usage error: the problem and the usage text on stderr, exit 64.
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
#include <memory>
#include <optional>

class TMineDocument;
class TSafeFile;

namespace ToolMain {

inline constexpr int kOk = 0;
inline constexpr int kFileError = 2;
inline constexpr int kUsage = 64;

// The largest standard input read: a mine file cannot say it is larger.
inline constexpr qint64 kMaxInput = 0x7FFFFFFF;

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
    bool ReadsFile = false; // its value is a file the command reads, held to the rules of inputs
};

struct TCommand {
    QString Name;
    QList<TOperand> Operands;
    QList<TOption> Options;
    QString Usage;          // after "tarvel-mdf ", as the usage text shows it (may run over lines)
    QString Help;           // what it does and what its options mean, for COMMAND --help
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
// invocation (no command, an unknown one, a broken rule, --help, --version) has been answered
// on stdout or stderr, and *status is the exit code.
std::optional<TInvocation> Parse(const QStringList &args, int *status);

// "-": standard input or output in the place of a file.
bool IsStream(const QString &operand);
// The whole of standard input; TFileError for "-" when it cannot be read or holds more than
// limit bytes (kMaxInput, or a reader's own bound).
QByteArray ReadStandardInput(qint64 limit = kMaxInput);
// A mine document from a file or, for "-", from standard input.
void LoadMine(TMineDocument &doc, const QString &operand);
// A mine document into a file (replaced whole) or, for "-", onto standard output.
void SaveMine(TMineDocument &doc, const QString &operand);
// Where an output goes: a file replaced whole, or standard output for "-"; opened. Commit()
// when everything is written.
std::unique_ptr<TSafeFile> OpenOutput(const QString &operand);

// Writes and flushes at once (stdout and stderr interleave as the user reads them).
void Write(FILE *stream, const QByteArray &bytes);
// The usage text on stdout (for -h); status kOk.
int Help();
// The problem, if any, and the usage text on stderr; status kUsage.
int Usage(const QString &problem);
// Runs a command, turning the errors that end it into their line on stderr and kFileError;
// the errors that name one of in's files carry its role.
int Guarded(const std::function<int()> &command, const TInvocation *in = nullptr);
// Ends a command that wrote to standard output with status, at once when the output went
// through (QuickExit); a failed output is an error (kFileError).
int Finish(int status);

using TRunner = std::function<int(const TInvocation &)>;
// Runs the invocation's runner (Guarded).
int Run(const TInvocation &invocation, const QMap<QString, TRunner> &runners);

} // namespace ToolMain
