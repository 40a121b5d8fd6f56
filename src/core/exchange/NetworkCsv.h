#pragma once
// A mine document as comma-separated files, the way survey data comes from and goes to
// spreadsheets and scripts: the node and branch lists, and beside them the rest.
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
//
// Beside them, so that a spreadsheet round trip loses nothing of the document: stoppings.csv
// and people.csv (each row names its branch by number and stands at a position along it) and
// document.csv, rows of Name,Value: the title, temperature and pressure, the lines of the notes,
// and the seams and plan positions with their names, colours and visibility. Only nodes.csv and
// branches.csv are required on import; seams and plan positions that document.csv does not
// name but the branches' indices do are created as "Пласт N" and "Позиция ПЛА N".
#include <QByteArray>
#include <QString>
#include <functional>

class TMine;
class TMineDocument;

namespace NetworkCsv {

// How numbers and fields are written.
struct TFormat {
    char Separator = ',';
    bool DecimalComma = false;   // "1,5"; a number then is quoted where "," separates
};

// The files of an export, in the order they are written.
inline constexpr const char *kFileNames[] = {"nodes.csv", "branches.csv", "stoppings.csv", "people.csv",
                                             "document.csv"};

QByteArray NodesText(const TMine &mine, const TFormat &format = {});
QByteArray BranchesText(const TMine &mine, const TFormat &format = {});
QByteArray StoppingsText(const TMine &mine, const TFormat &format = {});
QByteArray PeopleText(const TMine &mine, const TFormat &format = {});
QByteArray DocumentText(const TMineDocument &doc, const TFormat &format = {});
// Writes the five files into DIR, creating DIR when it is missing. The document itself is not
// touched and not copied; the files are written as they are laid out, a quarter megabyte at a
// time. A pipe, device or folder of any of the names is refused, and then no file is replaced;
// so is a failed write (TFileError, its message "PATH: reason").
void Export(const TMineDocument &doc, const QString &dir, const TFormat &format = {});

// The files an import reads; an empty name: not given (the nodes and branches must be).
struct TSources {
    QString Nodes, Branches, Stoppings, People, Document;
};
// The bytes of a file by its name.
using TBytesOf = std::function<QByteArray(const QString &)>;
// The whole of one such file, refused as above with "PATH: reason".
QByteArray ReadFile(const QString &path);
// The optional files of an export beside the branch file, those that exist.
TSources SourcesBeside(const QString &nodesPath, const QString &branchesPath);

// Fills doc, whose mine holds no elements yet, from the files, read one at a time through bytesOf
// (each file's bytes are let go before the next is read); the names are the FILE of the
// messages. The title is set only when document.csv has one. The mine ends modified. On a
// refusal nothing has been created.
void Read(TMineDocument &doc, const TSources &sources, const TBytesOf &bytesOf = ReadFile);
// The node and branch files' contents into mine alone.
void Read(TMine &mine, const QByteArray &nodes, const QString &nodesName, const QByteArray &branches,
          const QString &branchesName);

} // namespace NetworkCsv
