#pragma once
// The node and branch lists as two comma-separated files, the way survey data comes from and
// goes to spreadsheets and scripts.
//
// Written: nodes.csv "Number,X,Y,Z,Surface" and branches.csv "Number,StartNumber,EndNumber,
// Section,Shape,Roughness,Resistance,LayerIndex,PLFIndex,Comment,Name,Length,Perimeter,Angle",
// UTF-8 with a byte-order mark (a spreadsheet opening the file directly reads it as UTF-8 only
// then), commas and "." as the decimal point unless the format says otherwise, fields quoted
// where they must be, an empty field for an unset value (and for a branch without seam or plan
// position), Surface as 1 or 0. Length and Angle come from the end nodes as a topology resolve
// finds them; empty rows are left out. Every value is written in full, so that reading the files
// back gives the same values.
//
// Read: the header row names the columns, in any order and any letter case; a column the files
// do not have is refused. Number is required in both files, StartNumber and EndNumber in the
// branches; Length, Perimeter and Angle are taken for what they are, computed, and skipped. An
// empty field is an unset value; an empty Shape or Roughness is the previous row's, as a new row
// of the editor's branch table takes it (the first branch has the defaults). Commas or
// semicolons separate, "," or "." is the decimal point, a file that is not UTF-8 is read as
// Windows-1251 (what spreadsheets save on a Russian desktop). Every value passes the rules of the
// tables (numbers above 0, different end nodes, text that fits code page 1251, ...) before
// anything is created; the first refusal is an AppError "FILE:LINE: column NAME: what is wrong",
// a refused value quoted up to 200 characters.
//
// The files are read from their bytes, one at a time: a reader holds the file, at most a copy of
// one field, and the rows it has read, never the text as a whole once more.
#include <QByteArray>
#include <QString>

class TMine;

namespace NetworkCsv {

// How numbers and fields are written.
struct TFormat {
    char Separator = ',';
    bool DecimalComma = false;   // "1,5"; a number then is quoted where "," separates
};

QByteArray NodesText(const TMine &mine, const TFormat &format = {});
QByteArray BranchesText(const TMine &mine, const TFormat &format = {});
// Writes DIR/nodes.csv and DIR/branches.csv, creating DIR when it is missing. The mine itself
// is not touched and not copied; the files are written as they are laid out, a quarter megabyte
// at a time. A pipe, device or folder of either name is refused, and then neither file is
// replaced; so is a failed write (TFileError, its message "PATH: reason").
void Export(const TMine &mine, const QString &dir, const TFormat &format = {});

// Fills mine, which must hold no elements yet, from the two files' contents; the names are the
// FILE of the messages. Seams and plan positions that the indices name are created ("Пласт N",
// "Позиция ПЛА N"), since a CSV carries only the indices. The mine ends modified. On a refusal
// nothing has been created.
void Read(TMine &mine, const QByteArray &nodes, const QString &nodesName, const QByteArray &branches,
          const QString &branchesName);
// Read from the files at the two paths, which must be regular files (a pipe would hold the
// reading for ever, a device never ends); the node file's bytes are let go before the branch
// file is read.
void Import(TMine &mine, const QString &nodesPath, const QString &branchesPath);
// The whole of one such file, refused as above with "PATH: reason".
QByteArray ReadFile(const QString &path);

} // namespace NetworkCsv
