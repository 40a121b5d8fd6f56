#pragma once
// Documents handed over by another start of the program arrive as an execute request in the
// bracketed macro syntax the shell used for dynamic data exchange: [open("path")][open(path)]...
// Command names are matched in any letter case; arguments travel exactly as written, since on
// this system "Mine.mdf" and "mine.mdf" are two different files.
#include <QString>
#include <QStringList>

// Parses the n-th command (n from 1) of text. Returns false when there is no n-th command;
// otherwise name holds the command's name lower-cased by the rules of the Windows-1251 code
// page, and argument its argument with its letters as given.
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

