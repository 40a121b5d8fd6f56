#pragma once
// The topology check written as plain nested loops over the lists: every pair i < j compared
// directly, every node reference looked up by a scan. Quadratic, and kept only as the yardstick
// that the fast check in core must match line for line (tests) and beat (benchmark).
#include "checks/TTopologyCheck.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "model/Unset.h"

namespace pairwise {

using Lines = std::vector<TMessageLine>;

struct Writer {
    Lines &out;
    bool open = false;
    QString header;
    void Start(const QString &h) { open = false; header = h; }
    void Add(const QString &text, std::optional<TErrorInfo> info = std::nullopt)
    {
        if (!open) {
            open = true;
            if (!out.empty())
                out.push_back({});
            out.push_back({header, std::nullopt});
        }
        out.push_back({text, info});
    }
};

inline QString Coord(const TTopologyCheck &fmt, float v) { return fmt.FormatCoordinate(v); }

// Stage 1 with the pair tests and the reference test as nested loops.
inline bool Stage1(TMine &mine, Lines &out, const TTopologyCheck &fmt)
{
    using C = TTopologyCheck;
    out.clear();
    const int du = mine.DeleteEmptyUzels();
    if (du > 0)
        out.push_back({QStringLiteral("Удалено пустых узлов: %1").arg(du), std::nullopt});
    const int db = mine.DeleteEmptyBranches();
    if (db > 0)
        out.push_back({QStringLiteral("Удалено пустых ветвей: %1").arg(db), std::nullopt});
    const TUzelList &U = mine.Uzels();
    const TBranchList &B = mine.Branches();
    if (U.Count() == 0)
        out.push_back({QStringLiteral("Отсутствуют данные по сопряжениям"), std::nullopt});
    if (B.Count() == 0)
        out.push_back({QStringLiteral("Отсутствуют данные по выработкам"), std::nullopt});
    bool result = B.Count() > 0;
    Writer w{out, false, QString()};

    w.Start(QStringLiteral("Обнаружены узлы с неверно указанными номерами:"));
    for (int i = 1; i <= U.Count(); ++i) {
        const TUzel *n = U.Items(i);
        if (n->Number() == kUnsetInt || n->Number() < 1) {
            result = false;
            w.Add(QStringLiteral("  - №=%1,  X=%2,  Y=%3,  Z=%4")
                      .arg(C::FormatOwnNumber(n->Number()), Coord(fmt, n->X()), Coord(fmt, n->Y()), Coord(fmt, n->Z())),
                  TErrorInfo{0, i});
        }
    }
    w.Start(QStringLiteral("Обнаружены ветви с неверно указанными номероми:"));
    for (int i = 1; i <= B.Count(); ++i) {
        const TBranch *b = B.Items(i);
        if (b->Number() == kUnsetInt || b->Number() < 1) {
            result = false;
            w.Add(QStringLiteral("  - №=%1,  Нач.у.=%2,  Кон.у.=%3")
                          .arg(C::FormatOwnNumber(b->Number()), C::FormatNumber(b->StartNumber()),
                               C::FormatNumber(b->EndNumber()))
                      + C::CommentSuffix(b->Comment()),
                  TErrorInfo{1, i});
        }
    }
    if (!result)
        return false;

    // Repeated numbers fail the stage but do not end it early; each pair test stops at 100.
    bool repeated = false;
    w.Start(QStringLiteral("Обнаружены узлы с повторяющимися номерами: "));
    int pairs = 0;
    for (int i = 1; i <= U.Count() && pairs <= 100; ++i)
        for (int j = i + 1; j <= U.Count(); ++j) {
            const TUzel *a = U.Items(i), *b = U.Items(j);
            if (a->Number() != b->Number())
                continue;
            repeated = true;
            if (++pairs > 100) {
                out.push_back({TTopologyCheck::StopLine(), std::nullopt});
                break;
            }
            for (const TUzel *n : {a, b})
                w.Add(QStringLiteral("  - № %1,  X=%2,  Y=%3,  Z=%4")
                          .arg(QString::number(n->Number()), Coord(fmt, n->X()), Coord(fmt, n->Y()), Coord(fmt, n->Z())),
                      TErrorInfo{2, n == a ? i : j});
            out.push_back({});
        }

    w.Start(QStringLiteral("Обнаружены ветви с повторяющимися номерами: "));
    bool branchPairs = false;
    pairs = 0;
    for (int i = 1; i <= B.Count() && pairs <= 100; ++i)
        for (int j = i + 1; j <= B.Count(); ++j) {
            const TBranch *a = B.Items(i), *b = B.Items(j);
            if (a->Number() != b->Number())
                continue;
            repeated = true;
            if (++pairs > 100) {
                out.back() = {TTopologyCheck::StopLine(), std::nullopt};
                branchPairs = false;
                break;
            }
            branchPairs = true;
            for (const TBranch *x : {a, b})
                w.Add(QStringLiteral("  - № ?, Нач.у.=%1, Кон.у.=%2")
                              .arg(C::FormatNumber(x->StartNumber()), C::FormatNumber(x->EndNumber()))
                          + C::CommentSuffix(x->Comment()),
                      TErrorInfo{3, x == a ? i : j});
            out.push_back({});
        }
    if (branchPairs)
        out.pop_back();

    w.Start(QStringLiteral("Обнаружены ветви без указанных номеров узлов:"));
    for (int i = 1; i <= B.Count(); ++i) {
        const TBranch *b = B.Items(i);
        const bool noStart = b->StartNumber() == kUnsetInt;
        if (noStart || b->EndNumber() == kUnsetInt) {
            result = false;
            w.Add(QStringLiteral("  - У ветви № %1 отсутствует номер ").arg(b->Number())
                      + (noStart ? QStringLiteral("начального узла") : QStringLiteral("конечного узла")),
                  TErrorInfo{quint8(noStart ? 10 : 11), i});
        }
    }
    if (!result)
        return false;

    w.Start(QStringLiteral("Обнаружены ветви, ссылающиеся на несуществующие узлы: "));
    int errors = 0;
    for (int i = 1; i <= B.Count() && errors <= 10; ++i) {
        const TBranch *b = B.Items(i);
        for (int e = 0; e < 2; ++e) {
            const qint32 number = e == 0 ? b->StartNumber() : b->EndNumber();
            bool found = false;
            for (int k = 1; k <= U.Count() && !found; ++k)
                found = number != kUnsetInt && U.Items(k)->Number() == number;
            if (found)
                continue;
            result = false;
            if (errors == 10) {
                out.push_back({TTopologyCheck::StopLine(), std::nullopt});
                errors = 11;
                break;
            }
            w.Add(QStringLiteral("  - Ветвь № %1 ссылается на узел № %2").arg(b->Number()).arg(number),
                  TErrorInfo{quint8(10 + e), i});
            ++errors;
        }
    }
    if (!result)
        return false;

    w.Start(QStringLiteral("Обнаружены ветви с одинаковыми номерами начального и конечного узлов:"));
    for (int i = 1; i <= B.Count(); ++i) {
        const TBranch *b = B.Items(i);
        if (b->StartNumber() == b->EndNumber()) {
            result = false;
            w.Add(QStringLiteral("  - Ветвь № %1. Узлы с номерами %2 и %3").arg(b->Number()).arg(b->StartNumber()).arg(b->EndNumber()),
                  TErrorInfo{12, i});
        }
    }
    return result && !repeated;
}

inline bool Stage2(TMine &mine, Lines &out, const TTopologyCheck &fmt)
{
    const TUzelList &U = mine.Uzels();
    Writer w{out, false, QString()};
    w.Start(QStringLiteral("Обнаружены узлы без указанных коодинат:"));
    bool result = true;
    int listed = 0;
    for (int i = 1; i <= U.Count(); ++i) {
        const TUzel *n = U.Items(i);
        if (n->X() == kUnsetReal || n->Y() == kUnsetReal || n->Z() == kUnsetReal) {
            result = false;
            if (listed == 20) {
                out.push_back({TTopologyCheck::StopLine(), std::nullopt});
                break;
            }
            w.Add(QStringLiteral("  - № %1,  X=%2,  Y=%3,  Z=%4")
                      .arg(QString::number(n->Number()), Coord(fmt, n->X()), Coord(fmt, n->Y()), Coord(fmt, n->Z())),
                  TErrorInfo{13, i});
            ++listed;
        }
    }
    mine.SetTopologyValid(result);
    return result;
}

// Stage 3 with the parallel-branch test as nested loops and node counts found by scanning.
inline bool Stage3(TMine &mine, Lines &out)
{
    bool result = true;
    Writer w{out, false, QString()};
    const int t = mine.Temperature();
    const float p = mine.Pressure();
    if (t < -60 || t > 60 || !(p >= 0.95f && p <= 1.05f)) {
        result = false;
        w.Start(QStringLiteral("Физические характеристики шахты:"));
        w.Add(QStringLiteral("Неверные значения температуры или давления в шахте"), TErrorInfo{5, 0});
    }
    const TUzelList &U = mine.Uzels();
    const TBranchList &B = mine.Branches();
    w.Start(QStringLiteral("Нарушение топологии шахты:"));
    for (int i = 1; i <= U.Count(); ++i) {
        const TUzel *n = U.Items(i);
        const int c = n->BranchCount();
        QString text;
        if (c == 0)
            text = QStringLiteral("  - Узел № %1 изолирован");
        else if (c > 6)
            text = QStringLiteral("  - С узлом № %1 стыкуется более 6-ти ветвей");
        else if (n->Surface() && c > 1)
            text = QStringLiteral("  - Поверхностный узел № %1 соединяется более чем с одной ветвью");
        else
            continue;
        result = false;
        w.Add(text.arg(n->Number()), TErrorInfo{6, i});
    }
    int pairs = 0;
    for (int i = 1; i <= B.Count() && pairs <= 100; ++i) {
        const TBranch *a = B.Items(i);
        auto count = [&U](qint32 number) {
            for (int k = 1; k <= U.Count(); ++k)
                if (U.Items(k)->Number() == number)
                    return U.Items(k)->BranchCount();
            return -1;
        };
        if (count(a->StartNumber()) == 1 && count(a->EndNumber()) == 1) {
            result = false;
            w.Add(QStringLiteral("  - Обнаружена изолированная ветвь %1").arg(a->Number()), TErrorInfo{4, i});
        }
        for (int j = i + 1; j <= B.Count(); ++j) {
            const TBranch *b = B.Items(j);
            if ((a->StartNumber() == b->StartNumber() && a->EndNumber() == b->EndNumber())
                || (a->StartNumber() == b->EndNumber() && a->EndNumber() == b->StartNumber())) {
                result = false;
                if (++pairs > 100) {
                    out.push_back({TTopologyCheck::StopLine(), std::nullopt});
                    break;
                }
                w.Add(QStringLiteral("  - Обнаружены параллельные ветви (%1 и %2)").arg(a->Number()).arg(b->Number()),
                      TErrorInfo{4, i});
            }
        }
    }
    return result;
}

// The three stages as the document's check command runs them.
inline bool CheckAll(TMine &mine, Lines &out, const TTopologyCheck &fmt)
{
    return Stage1(mine, out, fmt) && Stage2(mine, out, fmt) && Stage3(mine, out);
}

} // namespace pairwise
