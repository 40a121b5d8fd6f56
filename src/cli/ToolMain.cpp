#include "ToolMain.h"

#include "AppError.h"
#include "TerminalText.h"

#include <QFile>
#include <QDir>
#include <exception>
#include <new>
#include <sys/stat.h>

namespace ToolMain {

namespace {

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
    return text;
}

// The same file, also through a link or under another name; false when either is missing.
bool SameFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0
           && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool EndsInOneOf(const QString &path, const QStringList &extensions)
{
    for (const QString &e : extensions)
        if (path.endsWith(e, Qt::CaseInsensitive))
            return true;
    return false;
}

// The rules every command keeps on its files; an empty text when it keeps them.
QString FileProblem(const TInvocation &in)
{
    const QList<TOperand> &operands = in.Command->Operands;
    for (qsizetype i = 0; i < operands.size(); ++i) {
        const TOperand &o = operands[i];
        if (o.Use == TUse::Read)
            continue;
        if (o.Use == TUse::Write && !o.Extensions.isEmpty() && !EndsInOneOf(in.Operands[i], o.Extensions))
            return QStringLiteral("%1 must end in %2").arg(o.Role, o.Extensions.join(QStringLiteral(" or ")));
        // What is written, by the role the user knows it under.
        QList<QPair<QString, QString>> written;
        if (o.Use == TUse::Write)
            written.append({in.Operands[i], o.Role});
        for (const QString &f : o.Files)
            written.append({QDir(in.Operands[i]).filePath(f), o.Role + u'/' + f});
        for (qsizetype k = 0; k < operands.size(); ++k) {
            if (operands[k].Use != TUse::Read)
                continue;
            for (const auto &[path, name] : std::as_const(written))
                if (SameFile(path, in.Operands[k]))
                    return QStringLiteral("%1 is the same file as %2: nothing would be left to read")
                        .arg(name, operands[k].Role);
        }
    }
    return QString();
}

} // namespace

const QList<TCommand> &Commands()
{
    static const QList<TCommand> commands = {
        {QStringLiteral("info"), {In("FILE")}, {}, QStringLiteral("info FILE")},
        {QStringLiteral("dump"), {In("FILE")}, {}, QStringLiteral("dump FILE")},
        {QStringLiteral("convert"), {In("IN"), Out("OUT", {QStringLiteral(".mdf")})}, {},
         QStringLiteral("convert IN OUT.mdf")},
        {QStringLiteral("check"), {In("FILE")}, {}, QStringLiteral("check FILE")},
        {QStringLiteral("report"), {In("FILE"), Out("OUT", {QStringLiteral(".pdf")})}, {{QStringLiteral("--parts")}},
         QStringLiteral("report FILE OUT.pdf [--parts title,nodes,branches]"), true},
        {QStringLiteral("render"), {In("FILE"), Out("OUT", {QStringLiteral(".png"), QStringLiteral(".svg")})},
         {{QStringLiteral("--size")}, {QStringLiteral("--angles")}, {QStringLiteral("--scale")},
          {QStringLiteral("--labels")}, {QStringLiteral("--colors")}},
         QStringLiteral("render FILE OUT.png|OUT.svg [--size WxH] [--angles AX,AZ] [--scale S]\n"
                        "                  [--labels none|branches|nodes] [--colors seams|plan]"),
         true},
        {QStringLiteral("export-csv"),
         {In("FILE"), TOperand{QStringLiteral("DIR"), TUse::WriteInto, {}, {QStringLiteral("nodes.csv"), QStringLiteral("branches.csv")}}},
         {},
         QStringLiteral("export-csv FILE DIR")},
        {QStringLiteral("import-csv"), {In("NODES"), In("BRANCHES"), Out("OUT", {QStringLiteral(".mdf")})},
         {{QStringLiteral("--title")}}, QStringLiteral("import-csv NODES.csv BRANCHES.csv OUT.mdf [--title TEXT]")},
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
    if (args.size() == 1 && (args[0] == QLatin1String("-h") || args[0] == QLatin1String("--help"))) {
        *status = Help();
        return std::nullopt;
    }
    if (args.isEmpty()) {
        *status = Usage(QString());
        return std::nullopt;
    }
    TInvocation in;
    in.Command = FindCommand(args[0]);
    if (!in.Command) {
        *status = Usage(QStringLiteral("unknown command \"%1\"").arg(args[0]));
        return std::nullopt;
    }
    const TCommand &c = *in.Command;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            in.Operands << a;
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

int Guarded(const std::function<int()> &command)
{
    try {
        return command();
    } catch (const AppError &e) {
        Write(stderr, TerminalText::EscapedMessage(e.message()).toUtf8() + '\n');
    } catch (const std::bad_alloc &) {
        Write(stderr, QStringLiteral("Недостаточно памяти для выполнения операции\n").toUtf8());
    } catch (const std::exception &e) {
        Write(stderr, TerminalText::EscapedMessage(QString::fromLocal8Bit(e.what())).toUtf8() + '\n');
    }
    return kFileError;
}

int Run(const TInvocation &invocation, const QMap<QString, TRunner> &runners)
{
    const auto runner = runners.find(invocation.Command->Name);
    if (runner == runners.end())
        return Usage(QStringLiteral("unknown command \"%1\"").arg(invocation.Command->Name));
    return Guarded([&] { return (*runner)(invocation); });
}

} // namespace ToolMain
