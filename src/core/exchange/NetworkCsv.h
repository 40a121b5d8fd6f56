#pragma once
// The node and branch lists as two comma-separated files, the way survey data comes from and
// goes to spreadsheets and scripts.
//
// Written: nodes.csv "Number,X,Y,Z,Surface" and branches.csv "Number,StartNumber,EndNumber,
// Section,Shape,Roughness,Resistance,LayerIndex,PLFIndex,Comment,Name,Length,Perimeter,Angle",
// UTF-8, commas, "." as the decimal point, fields quoted where they must be, an empty field for
// an unset value (and for a branch without seam or plan position), Surface as 1 or 0. Length
// and Angle come from the end nodes as a topology resolve finds them; empty rows are left out.
//
// Read: the header row names the columns, in any order and any letter case; Number is required
// in both files, StartNumber and EndNumber in the branches; Length, Perimeter and Angle are taken
// for what they are, computed, and skipped. Commas or semicolons separate, "," or "." is the
// decimal point, a file that is not UTF-8 is read as Windows-1251 (what spreadsheets save on a
// Russian desktop). Every value passes the rules of the tables (numbers above 0, different end
// nodes, text that fits code page 1251, ...) before anything is created; the first refusal is an
// AppError "FILE:LINE: column NAME: what is wrong".
#include <QByteArray>
#include <QString>

class TMine;

namespace NetworkCsv {

QByteArray NodesText(const TMine &mine);
QByteArray BranchesText(const TMine &mine);
// Writes DIR/nodes.csv and DIR/branches.csv, creating DIR when it is missing. The mine itself
// is not touched (lengths are resolved on a copy of the network). A pipe, device or folder of
// either name is refused, and then neither file is replaced; so is a failed write (TFileError,
// its message "PATH: reason").
void Export(const TMine &mine, const QString &dir);

// Fills mine, which must hold no elements yet, from the two files' contents; the names are the
// FILE of the messages. Seams and plan positions that the indices name are created ("Пласт N",
// "Позиция ПЛА N"), since a CSV carries only the indices. The mine ends modified. On a refusal
// nothing has been created.
void Read(TMine &mine, const QByteArray &nodes, const QString &nodesName, const QByteArray &branches,
          const QString &branchesName);
// Read from the files at the two paths, which must be regular files (a pipe would hold the
// reading for ever, a device never ends).
void Import(TMine &mine, const QString &nodesPath, const QString &branchesPath);
// The whole of one such file, refused as above with "PATH: reason".
QByteArray ReadFile(const QString &path);

} // namespace NetworkCsv
