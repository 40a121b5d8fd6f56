#pragma once
// The texts of a DXF file (layer names, TEXT and MTEXT) as the program's own strings.
//
// Bytes: AutoCAD 2007 and later ($ACADVER AC1021 on) write UTF-8; older files are in the code
// page $DWGCODEPAGE names ("ANSI_1251" on a Russian desktop), and a file that names none we know
// is read as UTF-8 when it is valid UTF-8, else as Windows-1251. Characters the code page lacks
// are written as \U+XXXX, which reading turns back.
// Markup: TEXT carries %%d (degree), %%p (plus-minus), %%c (diameter), %%% and the underline and
// overline switches %%u and %%o; MTEXT carries formatting in braces and backslash codes (fonts,
// heights, colours, \P for a new paragraph). What a name needs is the plain words.
#include <QString>
#include <QStringDecoder>
#include <string>

namespace DxfText {

class TDecoder {
public:
    // From the header's $ACADVER and $DWGCODEPAGE (either may be empty).
    TDecoder(const std::string &version, const std::string &codePage);
    // Bytes of the file to text, \U+XXXX escapes resolved.
    QString Decode(const std::string &bytes) const;

private:
    bool FUtf8 = false;      // the file says UTF-8
    QByteArray FCodec;       // its code page, empty when unknown
};

// The words of a TEXT (mtext false) or MTEXT value, without markup, on one line.
QString PlainText(const QString &text, bool mtext);
// Runs of blanks, line breaks and other control characters as one blank, none at the ends.
QString OneLine(const QString &text);

// What the mine file can hold: each character code page 1251 lacks (a pair of surrogates counts
// as one) becomes "?"; changed says whether any did.
QString Fit1251(const QString &text, bool *changed);

} // namespace DxfText
