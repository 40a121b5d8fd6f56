#pragma once
// The whole document as JSON, read back: exactly what `tarvel-mdf dump` writes (every field of
// the document, the column layout, seams, plan positions, nodes, branches with their people and
// stoppings), so that a dump read back and saved gives the file the document saves as, byte for
// byte. Keys may come in any order; a missing key leaves what a new element has. A key the dump
// does not write, a value of the wrong type, out of its range, or a text Windows-1251 cannot
// hold is refused with the path of the value: "Branches[17].Section: не число".
//
// The document is built as the mine reader builds one (the same setters in the same order, the
// stoppings and people of a branch put in position order); the perimeter is computed, so its
// key is read and not used; "Version" names the file the dump was made of and is not used
// either (a document is always saved in the current version).
#include <QByteArrayView>

class TMineDocument;

namespace MineJson {

// Fills doc, a new document; AppError with the path and the reason, or the line and column of
// a text that is not JSON.
void Read(QByteArrayView text, TMineDocument &doc);

} // namespace MineJson
