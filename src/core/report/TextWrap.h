#pragma once
// Breaking a text into the lines the report sets it in. Nothing on paper is cut: a text wider
// than its room goes on over further lines, between words where it can, between characters
// where a single word is wider than the room.
#include "report/TReportDocument.h"
#include "report/TTextMetrics.h"

#include <QString>
#include <QStringView>
#include <limits>
#include <vector>

struct TTextLine {
    QString Text;
    double Width = 0;   // measured, cm
};

namespace TextWrap {

inline constexpr double kNoLimit = std::numeric_limits<double>::infinity();

// The lines of text within width (kNoLimit: only its own line breaks): it breaks at CR LF, LF,
// CR and the Unicode line and paragraph separators, then before a word that would make a line
// wider than width. Other control characters set as spaces; spaces where a line breaks are
// dropped; empty lines at the end are left out (an empty text has no lines).
std::vector<TTextLine> Lines(QStringView text, double width, const TTextMetrics &metrics, const TReportFont &font);

} // namespace TextWrap
