#pragma once
// Documents handed over by another start of the program arrive as an execute request in the
// bracketed macro syntax the shell used for dynamic data exchange: [open("path")][open(path)]...
// The parser keeps that syntax to the letter, including the lower-casing of names and arguments.
#include <QString>
#include <QStringList>

// Parses the n-th command (n from 1) of text. Returns false when there is no n-th command;
// otherwise name and argument hold the command, both lower-cased by the rules of the
// Windows-1251 code page.
bool ParseDdeMacro(const QString &text, int n, QString &name, QString &argument);

// The first line of a macro text: only that line of an execute request counts.
QString DdeMacroFirstLine(const QString &text);

// The arguments of every "open" command of the request's first line, in order.
QStringList DdeOpenPaths(const QString &macro);

// Builds the request a later start of the program sends: [open("p1")][open("p2")]..., with a
// backslash before every double quotation mark of a path.
QString BuildDdeOpenMacro(const QStringList &paths);

// Lower case as the Windows-1251 code page knows it: Latin and Cyrillic letters (with Ё and the
// other letters of that page); characters outside the page stay as they are.
QString LowerCase1251(const QString &text);

// A path that was lower-cased on its way through a request names the file only on a file
// system that ignores letter case. Returns path itself when it exists, else the existing path
// whose components match it without regard to case (the first match of each component), else
// path unchanged.
QString ResolvePathLetterCase(const QString &path);
