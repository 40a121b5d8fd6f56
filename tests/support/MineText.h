#pragma once
// Builds a small mine from a compact text, so that table-driven tests can describe networks in
// one string:  "u 1 0 0 0; u 2 10 0 0 s; b 7 1 2 4.5 \"Ствол\""
//   u NUMBER X Y Z [s]              a node; "s" marks a surface node
//   b NUMBER START END [SECTION] ["COMMENT"]   a branch
// "-" stands for an unset value.
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "model/Unset.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace minetext {

inline qint32 Int(const QString &s) { return s == QLatin1String("-") ? kUnsetInt : s.toInt(); }
inline float Real(const QString &s) { return s == QLatin1String("-") ? kUnsetReal : s.toFloat(); }

inline void Build(TMine &mine, const QString &text)
{
    for (QString item : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        item = item.trimmed();
        QString comment;
        const int quote = int(item.indexOf(QLatin1Char('"')));
        if (quote >= 0) {
            comment = item.mid(quote + 1);
            comment.chop(1);
            item = item.left(quote).trimmed();
        }
        const QStringList f = item.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (f.value(0) == QLatin1String("u") && f.size() >= 5) {
            TUzel *n = mine.AddUzel(Int(f[1]), Real(f[2]), Real(f[3]), Real(f[4]));
            if (f.value(5) == QLatin1String("s"))
                n->SetSurface(true);
        } else if (f.value(0) == QLatin1String("b") && f.size() >= 4) {
            mine.AddBranch(Int(f[1]), Int(f[2]), Int(f[3]), comment, f.size() > 4 ? Real(f[4]) : kUnsetReal);
        } else {
            throw std::invalid_argument(item.toStdString());
        }
    }
}

} // namespace minetext
