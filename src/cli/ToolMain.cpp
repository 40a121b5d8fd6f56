#include "ToolMain.h"

#include "AppError.h"
#include "QuickExit.h"
#include "TerminalText.h"
#include "exchange/NetworkCsv.h"
#include "storage/FileErrors.h"
#include "storage/TMdfWriter.h"
#include "storage/TMineFile.h"
#include "storage/TSafeFile.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <exception>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace ToolMain {

namespace {

const QString kStream = QStringLiteral("-");

TOperand In(const char *role)
{
    return TOperand{QString::fromLatin1(role), TUse::Read, {}, {}};
}

TOperand Out(const char *role, QStringList extensions)
{
    return TOperand{QString::fromLatin1(role), TUse::Write, std::move(extensions), {}};
}

QString UsageText()
{
    QString text;
    for (const TCommand &c : Commands())
        text += (text.isEmpty() ? QStringLiteral("usage: tarvel-mdf ") : QStringLiteral("       tarvel-mdf ")) + c.Usage
                + u'\n';
    text += QStringLiteral("       tarvel-mdf COMMAND --help | --help | --version\n");
    return text;
}

int CommandHelp(const TCommand &c)
{
    QString text = QStringLiteral("usage: tarvel-mdf ") + c.Usage + QStringLiteral("\n\n") + c.Help + u'\n';
    QStringList in, out;
    for (const TOperand &o : c.Operands) {
        if (o.Use == TUse::Read)
            in << o.Role;
        else if (o.Use == TUse::Write)
            out << o.Role;
    }
    if (!in.isEmpty() || !out.isEmpty())
        text += u'\n';
    if (!in.isEmpty())
        text += QStringLiteral("%1 may be - for standard input.\n").arg(in.join(QStringLiteral(" or ")));
    if (!out.isEmpty())
        text += QStringLiteral("%1 may be - for standard output.\n").arg(out.join(QStringLiteral(" or ")));
    Write(stdout, text.toUtf8());
    return kOk;
}

int Version()
{
    Write(stdout, QStringLiteral("tarvel-mdf %1.%2.%3.%4\n")
                      .arg(TARVEL_VERSION_MAJOR)
                      .arg(TARVEL_VERSION_MINOR)
                      .arg(TARVEL_VERSION_PATCH)
                      .arg(TARVEL_VERSION_TWEAK)
                      .toUtf8());
    return kOk;
}

bool SameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The same file, also through a link or under another name; false when either is missing.
bool SameFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0
           && SameFile(sa, sb);
}

bool EndsInOneOf(const QString &path, const QStringList &extensions)
{
    for (const QString &e : extensions)
        if (path.endsWith(e, Qt::CaseInsensitive))
            return true;
    return false;
}

// The rules every command keeps on its files; an empty text when it keeps them.
// The files a command reads: its input operands and the files its options name, each with the
// role it has in messages.
QList<QPair<QString, QString>> Inputs(const TInvocation &in)
{
    QList<QPair<QString, QString>> inputs;
    const QList<TOperand> &operands = in.Command->Operands;
    for (qsizetype i = 0; i < operands.size(); ++i)
        if (operands[i].Use == TUse::Read)
            inputs.append({operands[i].Role, in.Operands[i]});
    for (const TOption &o : in.Command->Options)
        if (o.ReadsFile && in.Has(o.Name))
            inputs.append({o.Name, in.Option(o.Name)});
    return inputs;
}

QString FileProblem(const TInvocation &in)
{
    const QList<TOperand> &operands = in.Command->Operands;
    const QList<QPair<QString, QString>> inputs = Inputs(in);
    QString streamIn;
    for (const auto &[role, path] : inputs) {
        if (!IsStream(path))
            continue;
        if (!streamIn.isEmpty())
            return QStringLiteral("%1 and %2 cannot both be - (standard input is read once)").arg(streamIn, role);
        streamIn = role;
        // A terminal as input would wait for the user to type the bytes.
        if (::isatty(STDIN_FILENO))
            return QStringLiteral("%1 is - and standard input is a terminal").arg(role);
    }
    for (qsizetype i = 0; i < operands.size(); ++i) {
        const TOperand &o = operands[i];
        if (o.Use == TUse::Read || !IsStream(in.Operands[i]))
            continue;
        if (o.Use == TUse::WriteInto)
            return QStringLiteral("%1 must be a folder, not -").arg(o.Role);
        // Bytes of a mine, a PDF or a picture would only garble a terminal.
        if (::isatty(STDOUT_FILENO))
            return QStringLiteral("%1 is - and standard output is a terminal").arg(o.Role);
    }
    for (qsizetype i = 0; i < operands.size(); ++i) {
        const TOperand &o = operands[i];
        if (o.Use == TUse::Read)
            continue;
        const bool stream = IsStream(in.Operands[i]);
        if (o.Use == TUse::Write && !stream && !o.Extensions.isEmpty() && !EndsInOneOf(in.Operands[i], o.Extensions))
            return QStringLiteral("%1 must end in %2").arg(o.Role, o.Extensions.join(QStringLiteral(" or ")));
        // What is written, by the role the user knows it under.
        QList<QPair<QString, QString>> written;
        if (o.Use == TUse::Write && !stream)
            written.append({in.Operands[i], o.Role});
        for (const QString &f : o.Files)
            written.append({QDir(in.Operands[i]).filePath(f), o.Role + u'/' + f});
        struct stat out;
        const bool outIsFile = stream && ::fstat(STDOUT_FILENO, &out) == 0 && S_ISREG(out.st_mode);
        for (const auto &[role, path] : inputs) {
            if (IsStream(path))
                continue;
            const auto problem = [&](const QString &name) {
                return QStringLiteral("%1 is the same file as %2: nothing would be left to read").arg(name, role);
            };
            for (const auto &[writtenPath, name] : std::as_const(written))
                if (SameFile(writtenPath, path))
                    return problem(name);
            struct stat input;
            if (outIsFile && ::stat(QFile::encodeName(path).constData(), &input) == 0 && SameFile(out, input))
                return problem(o.Role + QStringLiteral(" (standard output)"));
        }
    }
    return QString();
}

// The role of the file an error names: the operand that is that file, or the folder it is
// written into; empty when it names none of them.
QString RoleOf(const TInvocation &in, const QString &path, bool writing)
{
    const QList<TOperand> &operands = in.Command->Operands;
    for (qsizetype i = 0; i < operands.size(); ++i)
        if (in.Operands[i] == path && (operands[i].Use != TUse::Read) == writing)
            return operands[i].Role;
    for (qsizetype i = 0; i < operands.size(); ++i)
        if (in.Operands[i] == path)
            return operands[i].Role;
    for (qsizetype i = 0; i < operands.size(); ++i)
        for (const QString &f : operands[i].Files)
            if (QDir(in.Operands[i]).filePath(f) == path)
                return operands[i].Role;
    for (const auto &[role, input] : Inputs(in))
        if (input == path)
            return role;
    return QString();
}

// The one line an error ends a command with: "ROLE FILE: reason", or what the error says when
// it names no file of the command. Line breaks of the system's texts become blanks.
QString ErrorLine(const AppError &e, const TInvocation *in)
{
    QString line;
    if (const auto *file = dynamic_cast<const TFileError *>(&e)) {
        const QString role = in ? RoleOf(*in, file->Path(), file->Writing()) : QString();
        line = (role.isEmpty() ? QString() : role + u' ') + file->Path() + QStringLiteral(": ") + file->Reason();
    } else {
        line = e.message();
        // A message that starts with one of the files ("nodes.csv:3: column X: ...").
        for (const auto &[role, path] : in ? Inputs(*in) : QList<QPair<QString, QString>>()) {
            if (line.startsWith(path + u':')) {
                line = role + u' ' + line;
                break;
            }
        }
    }
    line.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(u'\n', u' ');
    return QStringLiteral("tarvel-mdf: ") + TerminalText::Escaped(line);
}

} // namespace

// What export-csv writes into its folder.
static QStringList CsvFiles()
{
    QStringList files;
    for (const char *name : NetworkCsv::kFileNames)
        files << QLatin1String(name);
    return files;
}

const QList<TCommand> &Commands()
{
    static const QList<TCommand> commands = {
        {QStringLiteral("info"), {In("FILE")}, {}, QStringLiteral("info FILE"),
         QStringLiteral("Prints the file version, the mine title and the numbers of nodes, branches, stoppings,\n"
                        "people, seams and plan positions, one \"Name: value\" line each.")},
        {QStringLiteral("dump"), {In("FILE")}, {}, QStringLiteral("dump FILE"),
         QStringLiteral("Prints the whole document as one JSON object, with the field names of the file format.")},
        {QStringLiteral("from-json"), {In("IN"), Out("OUT", {QStringLiteral(".mdf")})}, {},
         QStringLiteral("from-json IN.json OUT.mdf"),
         QStringLiteral("Makes a mine document from the JSON that dump writes and saves it in the current version\n"
                        "1.19. Keys may come in any order; a missing key leaves what a new element has. An unknown\n"
                        "key, a value of the wrong type or out of range, or a text Windows-1251 cannot hold is\n"
                        "refused with its path (Branches[17].Section: не число) and nothing is written.")},
        {QStringLiteral("convert"), {In("IN"), Out("OUT", {QStringLiteral(".mdf")})}, {},
         QStringLiteral("convert IN OUT.mdf"),
         QStringLiteral("Reads IN in any version and writes it in the current version 1.19, as saving in the editor\n"
                        "does (empty nodes and branches are left out).")},
        {QStringLiteral("diff"), {In("A"), In("B")}, {{QStringLiteral("--json"), false}},
         QStringLiteral("diff A.mdf B.mdf [--json]"),
         QStringLiteral("Lists what changed from A to B: nodes and branches matched by number (elements sharing a\n"
                        "number in list order), stoppings and people by their branch and place in it, seams and\n"
                        "plan positions by name, the document's fields and notes; each element added (+),\n"
                        "removed (-) or changed (~) with every changed field, its old and new value in full.\n"
                        "Remarks (!) tell of lists in another order and of numbers shared. Exit status 0 when\n"
                        "the documents hold the same, 1 when they differ.\n"
                        "  --json   the same as one JSON object")},
        {QStringLiteral("check"), {In("FILE")}, {}, QStringLiteral("check FILE"),
         QStringLiteral("Runs the editor's topology check and prints its message list, one line each; exit status 1\n"
                        "when it finds something. The file is not changed.")},
        {QStringLiteral("report"), {In("FILE"), Out("OUT", {QStringLiteral(".pdf")})}, {{QStringLiteral("--parts")}},
         QStringLiteral("report FILE OUT.pdf [--parts title,nodes,branches]"),
         QStringLiteral("Writes the editor's printed topology report as a PDF.\n"
                        "  --parts LIST   the parts to print, any of title, nodes and branches (default: all)"),
         true},
        {QStringLiteral("render"), {In("FILE"), Out("OUT", {QStringLiteral(".png"), QStringLiteral(".svg")})},
         {{QStringLiteral("--size")}, {QStringLiteral("--angles")}, {QStringLiteral("--scale")},
          {QStringLiteral("--labels")}, {QStringLiteral("--colors")}, {QStringLiteral("--center")}},
         QStringLiteral("render FILE OUT.png|OUT.svg [--size WxH] [--angles AX,AZ] [--scale S]\n"
                        "                  [--labels none|branches|nodes] [--colors seams|plan] [--center N|B:N]"),
         QStringLiteral("Checks the topology and coordinates (findings on stderr, exit status 1, no picture) and\n"
                        "draws the topological scheme as a PNG or SVG picture, by OUT's extension (PNG for -).\n"
                        "  --size WxH                      picture size, each side 1 to 10000 (default 1280x800)\n"
                        "  --angles AX,AZ                  turn in degrees, AX -90..90, AZ -180..180 (default 0,0)\n"
                        "  --scale S                       magnification 1 to 20 (default 1)\n"
                        "  --labels none|branches|nodes    numbers written beside the elements (default none)\n"
                        "  --colors seams|plan             branches in the colours of their groups (default none)\n"
                        "  --center N|B:N                  turn about node N or the middle of branch B:N, placed in the\n"
                        "                                  picture's middle (default: the whole network, centred)"),
         true},
        {QStringLiteral("export-csv"),
         {In("FILE"), TOperand{QStringLiteral("DIR"), TUse::WriteInto, {}, CsvFiles()}},
         {{QStringLiteral("--separator")}, {QStringLiteral("--decimal-comma"), false}},
         QStringLiteral("export-csv FILE DIR [--separator ,|;] [--decimal-comma]"),
         QStringLiteral("Writes DIR/nodes.csv, branches.csv, stoppings.csv, people.csv and document.csv, all or none,\n"
                        "creating DIR when it is missing; UTF-8 with a byte-order mark.\n"
                        "  --separator ,|;    the field separator (default ,)\n"
                        "  --decimal-comma    numbers with a decimal comma, as Russian spreadsheets write them")},
        {QStringLiteral("import-csv"), {In("NODES"), In("BRANCHES"), Out("OUT", {QStringLiteral(".mdf")})},
         {{QStringLiteral("--title")}, {QStringLiteral("--stoppings"), true, true}, {QStringLiteral("--people"), true, true},
          {QStringLiteral("--document"), true, true}},
         QStringLiteral("import-csv NODES.csv BRANCHES.csv OUT.mdf [--title TEXT] [--stoppings FILE]\n"
                        "                  [--people FILE] [--document FILE]"),
         QStringLiteral("Makes a new mine document from the CSV files; the first value refused is reported and\n"
                        "nothing is written.\n"
                        "  --title TEXT       the mine title (default: the document file's, else OUT's name\n"
                        "                     without its extension)\n"
                        "  --stoppings FILE   the stoppings (stoppings.csv of export-csv)\n"
                        "  --people FILE      the people (people.csv)\n"
                        "  --document FILE    the title, notes, temperature, pressure, seams and plan positions\n"
                        "                     (document.csv)")},
        {QStringLiteral("import-dxf"), {In("IN"), Out("OUT", {QStringLiteral(".mdf")})},
         {{QStringLiteral("--tolerance")}, {QStringLiteral("--layers")}, {QStringLiteral("--title")},
          {QStringLiteral("--split-at-junctions"), false}, {QStringLiteral("--no-split"), false},
          {QStringLiteral("--names-from-text")}, {QStringLiteral("--chord")}, {QStringLiteral("--first")}},
         QStringLiteral("import-dxf IN.dxf OUT.mdf [--tolerance M] [--layers A,B] [--title TEXT]\n"
                        "                  [--split-at-junctions|--no-split] [--names-from-text D] [--chord M] [--first N]"),
         QStringLiteral("Makes a new mine document from the centrelines of a CAD drawing (ASCII DXF: LINE, POLYLINE,\n"
                        "LWPOLYLINE, ARC, blocks placed by INSERT): every segment a branch, ends within the tolerance\n"
                        "one node, each layer a seam. Prints what it made, then checks the new document's topology\n"
                        "(findings on stderr, exit status 1; the document is written all the same). A drawing refused\n"
                        "is reported and nothing is written. With OUT -, the summary goes to stderr.\n"
                        "  --tolerance M          metres within which ends join (default 0.05, at most 100)\n"
                        "  --layers A,B           the layers to take (default: all but Перемычки)\n"
                        "  --title TEXT           the mine title (default: OUT's name without its extension)\n"
                        "  --split-at-junctions   polyline vertices join other lines' ends (the default)\n"
                        "  --no-split             they do not\n"
                        "  --names-from-text D    a branch takes the name of the nearest text within D metres\n"
                        "  --chord M              the longest chord arcs are split into (default 5)\n"
                        "  --first N              number of the first node and branch (default 1)")},
        {QStringLiteral("export-dxf"), {In("IN"), Out("OUT", {QStringLiteral(".dxf")})}, {{QStringLiteral("--labels")}},
         QStringLiteral("export-dxf IN.mdf OUT.dxf [--labels none|branches|nodes]"),
         QStringLiteral("Writes the network as an AutoCAD 2000 DXF drawing in metres: branches as 3D lines on their\n"
                        "seams' layers, stoppings as strokes on layer Перемычки. Prints what it wrote (on stderr with\n"
                        "OUT -) and lists the branches it could not draw on stderr.\n"
                        "  --labels none|branches|nodes    numbers as texts on layer Ветви or Узлы (default none)")},
    };
    return commands;
}

const TCommand *FindCommand(const QString &name)
{
    for (const TCommand &c : Commands())
        if (c.Name == name)
            return &c;
    return nullptr;
}

QString TInvocation::Operand(const QString &role) const
{
    for (qsizetype i = 0; i < Command->Operands.size(); ++i)
        if (Command->Operands[i].Role == role)
            return Operands.value(i);
    return QString();
}

std::optional<TInvocation> Parse(const QStringList &args, int *status)
{
    const QString first = args.value(0);
    if (args.size() == 1 && (first == QLatin1String("-h") || first == QLatin1String("--help"))) {
        *status = Help();
        return std::nullopt;
    }
    if (args.size() == 1 && (first == QLatin1String("-V") || first == QLatin1String("--version"))) {
        *status = Version();
        return std::nullopt;
    }
    if (args.isEmpty()) {
        *status = Usage(QString());
        return std::nullopt;
    }
    TInvocation in;
    in.Command = FindCommand(first);
    if (!in.Command) {
        *status = Usage(QStringLiteral("unknown command \"%1\"").arg(first));
        return std::nullopt;
    }
    const TCommand &c = *in.Command;
    for (qsizetype i = 1; i < args.size() && args[i] != QLatin1String("--"); ++i) {
        if (args[i] == QLatin1String("--help") || args[i] == QLatin1String("-h")) {
            *status = CommandHelp(c);
            return std::nullopt;
        }
    }
    bool optionsEnd = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        if (optionsEnd || a == kStream || !a.startsWith(u'-')) {
            in.Operands << a;
            continue;
        }
        if (a == QLatin1String("--")) {
            optionsEnd = true;
            continue;
        }
        const auto option = std::find_if(c.Options.begin(), c.Options.end(), [&](const TOption &o) { return o.Name == a; });
        QString problem;
        if (option == c.Options.end())
            problem = QStringLiteral("unknown option \"%1\"").arg(a);
        else if (in.Options.contains(a))
            problem = QStringLiteral("%1 given twice").arg(a);
        else if (option->TakesValue && i + 1 >= args.size())
            problem = QStringLiteral("%1 needs a value").arg(a);
        if (!problem.isEmpty()) {
            *status = Usage(problem);
            return std::nullopt;
        }
        in.Options.insert(a, option->TakesValue ? args[++i] : QString());
    }
    if (in.Operands.size() != c.Operands.size()) {
        // The operands as the usage line writes them ("FILE and OUT.pdf").
        QStringList roles = c.Usage.section(u'\n', 0, 0).split(u' ', Qt::SkipEmptyParts).mid(1, c.Operands.size());
        const QString list = roles.size() == 1 ? QStringLiteral("one ") + roles[0]
                                               : roles.mid(0, roles.size() - 1).join(QStringLiteral(", "))
                                                     + QStringLiteral(" and ") + roles.last();
        *status = Usage(QStringLiteral("%1 takes %2").arg(c.Name, list));
        return std::nullopt;
    }
    const QString problem = FileProblem(in);
    if (!problem.isEmpty()) {
        *status = Usage(problem);
        return std::nullopt;
    }
    return in;
}

bool IsStream(const QString &operand)
{
    return operand == kStream;
}

QByteArray ReadStandardInput(qint64 limit)
{
    QByteArray bytes;
    const qint64 chunk = 1024 * 1024;
    for (;;) {
        if (bytes.size() > limit)
            throw TFileError(kStream, QStringLiteral("больше %1 байт").arg(limit),
                             FileErrors::Message(FileErrors::UnknownFormat));
        const qsizetype at = bytes.size();
        bytes.resize(at + chunk);
        const ssize_t got = ::read(STDIN_FILENO, bytes.data() + at, size_t(chunk));
        if (got < 0 && errno == EINTR) {
            bytes.resize(at);
            continue;
        }
        if (got < 0) {
            const QString reason = FileErrors::Text(FileErrors::AccessDenied);
            throw TFileError(kStream, reason, FileErrors::Message(FileErrors::AccessDenied));
        }
        bytes.resize(at + got);
        if (got == 0)
            return bytes;
    }
}

void LoadMine(TMineDocument &doc, const QString &operand)
{
    if (IsStream(operand))
        TMineFile::LoadBytes(doc, ReadStandardInput(), kStream);
    else
        TMineFile::Load(doc, operand);
}

void SaveMine(TMineDocument &doc, const QString &operand)
{
    if (!IsStream(operand)) {
        TMineFile::Save(doc, operand);
        return;
    }
    // A pipe cannot take the size field back at the end: the file is laid out in memory first.
    const QByteArray bytes = TMdfWriter::Write(doc);
    const std::unique_ptr<TSafeFile> out = OpenOutput(operand);
    out->write(bytes);
    out->Commit();
}

std::unique_ptr<TSafeFile> OpenOutput(const QString &operand)
{
    auto out = IsStream(operand) ? std::make_unique<TSafeFile>(STDOUT_FILENO, kStream) : std::make_unique<TSafeFile>(operand);
    out->Open();
    return out;
}

void Write(FILE *stream, const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

int Help()
{
    Write(stdout, UsageText().toUtf8());
    return kOk;
}

int Usage(const QString &problem)
{
    if (!problem.isEmpty())
        Write(stderr, "tarvel-mdf: " + TerminalText::Escaped(problem).toUtf8() + '\n');
    Write(stderr, UsageText().toUtf8());
    return kUsage;
}

int Guarded(const std::function<int()> &command, const TInvocation *in)
{
    try {
        return command();
    } catch (const AppError &e) {
        Write(stderr, ErrorLine(e, in).toUtf8() + '\n');
    } catch (const std::bad_alloc &) {
        Write(stderr, QStringLiteral("tarvel-mdf: Недостаточно памяти для выполнения операции\n").toUtf8());
    } catch (const std::exception &e) {
        Write(stderr, ErrorLine(AppError(QString::fromLocal8Bit(e.what())), in).toUtf8() + '\n');
    }
    return kFileError;
}

int Finish(int status)
{
    QuickExit::AfterOutput(status);
    // Still here: standard output could not be written (a full disk, a closed pipe).
    Write(stderr, QStringLiteral("tarvel-mdf: стандартный вывод: %1\n").arg(FileErrors::WriteFailedMessage()).toUtf8());
    return kFileError;
}

int Run(const TInvocation &invocation, const QMap<QString, TRunner> &runners)
{
    const auto runner = runners.find(invocation.Command->Name);
    if (runner == runners.end())
        return Usage(QStringLiteral("unknown command \"%1\"").arg(invocation.Command->Name));
    return Guarded([&] { return (*runner)(invocation); }, &invocation);
}

} // namespace ToolMain
