#include "checks/TTopologyCheck.h"

#include "checks/KeyChains.h"
#include "checks/TCheckStatus.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "model/Unset.h"

#include <QLocale>

using namespace checks_detail;

namespace {

// The status bar shows the running step and is returned to its panels however the stage ends.
class StatusScope {
public:
    StatusScope(TCheckStatus *status, const QString &text) : FStatus(status) { Show(text); }
    ~StatusScope()
    {
        if (FStatus)
            FStatus->ClearStatusText();
    }
    void Show(const QString &text)
    {
        if (FStatus)
            FStatus->ShowStatusText(text);
    }
    StatusScope(const StatusScope &) = delete;
    StatusScope &operator=(const StatusScope &) = delete;

private:
    TCheckStatus *FStatus;
};

// The findings of one test: the first one opens the group with an empty line (unless the list
// is still empty) and the header.
class Group {
public:
    Group(TMessageSink &sink, QString header) : FSink(sink), FHeader(std::move(header)) {}

    void Add(const QString &text, std::optional<TErrorInfo> info = std::nullopt)
    {
        Open();
        FSink.AddMessage(text, info);
    }
    void Open()
    {
        if (FOpen)
            return;
        FOpen = true;
        if (FSink.MessageCount() > 0)
            FSink.AddMessage(QString());
        FSink.AddMessage(FHeader);
    }
    bool IsOpen() const { return FOpen; }

private:
    TMessageSink &FSink;
    QString FHeader;
    bool FOpen = false;
};

// The numbers of a branch, copied out of the list once so that the tests of stage 1 and the
// parallel-branch test run over one compact array instead of chasing every branch again.
struct Ends {
    qint32 Number;
    qint32 Start;
    qint32 End;
};

std::vector<Ends> BranchEnds(const TBranchList &branches)
{
    std::vector<Ends> ends;
    ends.reserve(size_t(branches.Count()));
    ForEachPrefetched(branches, [&ends](const TBranch *b) { ends.push_back({b->Number(), b->StartNumber(), b->EndNumber()}); });
    return ends;
}

} // namespace

struct TTopologyCheck::Snapshot {
    std::vector<quint64> uzelNumbers;   // NumberKey of every node, list order
    std::vector<Ends> ends;             // every branch, list order
};

namespace {

TStageResult EarlyEnd(const TStageResult &sofar)
{
    TStageResult r = sofar;
    r.Passed = false;
    r.EarlyEnd = true;
    return r;
}

} // namespace

TTopologyCheck::TTopologyCheck(TMine &mine, TMessageSink &sink, TCheckStatus *status)
    : FMine(mine), FSink(sink), FStatus(status)
{
    const QString point = QLocale().decimalPoint();
    FPoint = point.isEmpty() ? QLatin1Char('.') : point.at(0);
}

const QString &TTopologyCheck::StopLine()
{
    static const QString line = QStringLiteral("Проверка остановлена из-за большого количества ошибок.");
    return line;
}

QString TTopologyCheck::FormatCoordinate(float value) const
{
    if (value == kUnsetReal)
        return QString();
    QString text = QString::number(double(value), 'f', 1);
    if (FPoint != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), FPoint);
    return text;
}

QString TTopologyCheck::FormatNumber(qint32 value)
{
    return value == kUnsetInt ? QString() : QString::number(value);
}

QString TTopologyCheck::FormatOwnNumber(qint32 value)
{
    return FormatNumber(value) + QLatin1Char(' ');
}

QString TTopologyCheck::CommentSuffix(const QString &comment)
{
    if (comment.isEmpty())
        return QString();
    return QStringLiteral(",  \"") + comment + QLatin1Char('"');
}

namespace {

// n elements sharing one number make n(n-1)/2 pairs: a file of 20,000 nodes numbered 1 would
// list 200 million of them. Each pair test stops at this many, as the reference test does at
// ten.
constexpr int kMaxPairs = 100;

// Every pair i < j of nodes with one number, as two lines and an empty one.
bool RepeatedUzelNumbers(const TTopologyCheck &check, TMessageSink &sink, const TUzelList &uzels,
                         const std::vector<quint64> &numbers)
{
    std::vector<int> next;
    if (!LinkEqualKeys(numbers, next))
        return false;

    Group group(sink, QStringLiteral("Обнаружены узлы с повторяющимися номерами: "));
    int listed = 0;
    auto line = [&check](const TUzel *n) {
        return QStringLiteral("  - № %1,  X=%2,  Y=%3,  Z=%4")
            .arg(QString::number(n->Number()), check.FormatCoordinate(n->X()), check.FormatCoordinate(n->Y()),
                 check.FormatCoordinate(n->Z()));
    };
    for (size_t i = 0; i < next.size(); ++i) {
        if (next[i] < 0)
            continue;
        const QString first = line(uzels.Items(int(i) + 1));
        for (int j = next[i]; j >= 0; j = next[size_t(j)]) {
            if (listed++ == kMaxPairs) {
                sink.AddMessage(TTopologyCheck::StopLine());
                return true;
            }
            group.Add(first, TErrorInfo{ErrorKind::RepeatedUzel, int(i) + 1});
            group.Add(line(uzels.Items(j + 1)), TErrorInfo{ErrorKind::RepeatedUzel, j + 1});
            sink.AddMessage(QString());
        }
    }
    return true;
}

// Every pair i < j of branches with one number. The pairs are separated by empty lines; the
// last one is not followed by any.
bool RepeatedBranchNumbers(TMessageSink &sink, const TBranchList &branches, const std::vector<Ends> &ends)
{
    std::vector<quint64> keys;
    keys.reserve(ends.size());
    for (const Ends &e : ends)
        keys.push_back(NumberKey(e.Number));
    std::vector<int> next;
    if (!LinkEqualKeys(keys, next))
        return false;

    Group group(sink, QStringLiteral("Обнаружены ветви с повторяющимися номерами: "));
    int listed = 0;
    auto line = [](const TBranch *b) {
        return QStringLiteral("  - № ?, Нач.у.=%1, Кон.у.=%2")
                   .arg(TTopologyCheck::FormatNumber(b->StartNumber()), TTopologyCheck::FormatNumber(b->EndNumber()))
            + TTopologyCheck::CommentSuffix(b->Comment());
    };
    for (size_t i = 0; i < next.size(); ++i) {
        if (next[i] < 0)
            continue;
        const QString first = line(branches.Items(int(i) + 1));
        for (int j = next[i]; j >= 0; j = next[size_t(j)]) {
            if (listed++ == kMaxPairs) {
                sink.AddMessage(TTopologyCheck::StopLine());
                return true;
            }
            if (group.IsOpen())
                sink.AddMessage(QString());
            group.Add(first, TErrorInfo{ErrorKind::RepeatedBranch, int(i) + 1});
            group.Add(line(branches.Items(j + 1)), TErrorInfo{ErrorKind::RepeatedBranch, j + 1});
        }
    }
    return true;
}

// Start and end numbers that name no node; at most ten are listed.
bool MissingReferences(TMessageSink &sink, const std::vector<quint64> &uzelNumbers, const std::vector<Ends> &ends)
{
    TKeyTable numbers(uzelNumbers);
    for (quint64 key : uzelNumbers)
        numbers.Slot(key) = 0;
    auto exists = [&numbers](qint32 number) {
        return number != kUnsetInt && numbers.Contains(NumberKey(number));
    };

    constexpr int kMaxListed = 10;
    Group group(sink, QStringLiteral("Обнаружены ветви, ссылающиеся на несуществующие узлы: "));
    int listed = 0;
    bool missing = false;
    for (size_t i = 0; i < ends.size(); ++i) {
        const qint32 refs[2] = {ends[i].Start, ends[i].End};
        for (int e = 0; e < 2; ++e) {
            if (exists(refs[e]))
                continue;
            missing = true;
            if (listed == kMaxListed) {
                sink.AddMessage(TTopologyCheck::StopLine());
                return true;
            }
            group.Add(QStringLiteral("  - Ветвь № %1 ссылается на узел № %2").arg(ends[i].Number).arg(refs[e]),
                      TErrorInfo{e == 0 ? ErrorKind::StartUzel : ErrorKind::EndUzel, int(i) + 1});
            ++listed;
        }
    }
    return missing;
}

} // namespace

TStageResult TTopologyCheck::CheckTopology()
{
    StatusScope status(FStatus, QStringLiteral("Проверка топологии шахты"));
    TStageResult r;
    FSink.ClearMessages();

    r.DeletedUzels = FMine.DeleteEmptyUzels();
    if (r.DeletedUzels > 0)
        FSink.AddMessage(QStringLiteral("Удалено пустых узлов: %1").arg(r.DeletedUzels));
    r.DeletedBranches = FMine.DeleteEmptyBranches();
    if (r.DeletedBranches > 0)
        FSink.AddMessage(QStringLiteral("Удалено пустых ветвей: %1").arg(r.DeletedBranches));
    FSink.SelectFirstMessage();

    const TUzelList &uzels = FMine.Uzels();
    const TBranchList &branches = FMine.Branches();
    if (uzels.Count() == 0)
        FSink.AddMessage(QStringLiteral("Отсутствуют данные по сопряжениям"));
    if (branches.Count() == 0)
        FSink.AddMessage(QStringLiteral("Отсутствуют данные по выработкам"));
    bool result = branches.Count() > 0;

    std::vector<quint64> uzelNumbers;
    uzelNumbers.reserve(size_t(uzels.Count()));
    Group badUzels(FSink, QStringLiteral("Обнаружены узлы с неверно указанными номерами:"));
    int i = 0;
    ForEachPrefetched(uzels, [&](const TUzel *n) {
        ++i;
        uzelNumbers.push_back(NumberKey(n->Number()));
        if (n->Number() == kUnsetInt || n->Number() < 1) {
            result = false;
            badUzels.Add(QStringLiteral("  - №=%1,  X=%2,  Y=%3,  Z=%4")
                             .arg(FormatOwnNumber(n->Number()), FormatCoordinate(n->X()),
                                  FormatCoordinate(n->Y()), FormatCoordinate(n->Z())),
                         TErrorInfo{ErrorKind::UzelNumber, i});
        }
    });

    std::vector<Ends> ends = BranchEnds(branches);
    Group badBranches(FSink, QStringLiteral("Обнаружены ветви с неверно указанными номероми:"));
    for (size_t k = 0; k < ends.size(); ++k) {
        if (ends[k].Number == kUnsetInt || ends[k].Number < 1) {
            const TBranch *b = branches.Items(int(k) + 1);
            result = false;
            badBranches.Add(QStringLiteral("  - №=%1,  Нач.у.=%2,  Кон.у.=%3")
                                    .arg(FormatOwnNumber(b->Number()), FormatNumber(b->StartNumber()),
                                         FormatNumber(b->EndNumber()))
                                + CommentSuffix(b->Comment()),
                            TErrorInfo{ErrorKind::BranchNumber, int(k) + 1});
        }
    }

    if (!result)
        return EarlyEnd(r);

    // A repeated number, a branch without its node numbers or a loop leaves the network unusable
    // for the later stages, so each of them fails the stage too. Repeated numbers do not end it
    // early, though: the user fixing them should see the broken references and loops as well.
    bool repeated = RepeatedUzelNumbers(*this, FSink, uzels, uzelNumbers);
    if (RepeatedBranchNumbers(FSink, branches, ends))
        repeated = true;

    Group noNumbers(FSink, QStringLiteral("Обнаружены ветви без указанных номеров узлов:"));
    for (size_t k = 0; k < ends.size(); ++k) {
        const bool noStart = ends[k].Start == kUnsetInt;
        if (!noStart && ends[k].End != kUnsetInt)
            continue;
        result = false;
        noNumbers.Add(QStringLiteral("  - У ветви № %1 отсутствует номер ").arg(ends[k].Number)
                          + (noStart ? QStringLiteral("начального узла") : QStringLiteral("конечного узла")),
                      TErrorInfo{noStart ? ErrorKind::StartUzel : ErrorKind::EndUzel, int(k) + 1});
    }

    if (!result)
        return EarlyEnd(r);

    if (MissingReferences(FSink, uzelNumbers, ends))
        return EarlyEnd(r);

    Group loops(FSink, QStringLiteral("Обнаружены ветви с одинаковыми номерами начального и конечного узлов:"));
    for (size_t k = 0; k < ends.size(); ++k) {
        if (ends[k].Start == ends[k].End) {
            result = false;
            loops.Add(QStringLiteral("  - Ветвь № %1. Узлы с номерами %2 и %3")
                          .arg(ends[k].Number)
                          .arg(ends[k].Start)
                          .arg(ends[k].End),
                      TErrorInfo{ErrorKind::BothUzels, int(k) + 1});
        }
    }

    if (FSnapshot) {
        FSnapshot->uzelNumbers = std::move(uzelNumbers);
        FSnapshot->ends = std::move(ends);
    }
    r.Passed = result && !repeated;
    return r;
}

TStageResult TTopologyCheck::CheckCoordinates()
{
    StatusScope status(FStatus, QStringLiteral("Проверка наличия координат"));
    TStageResult r;
    bool result = true;

    constexpr int kMaxListed = 20;
    Group group(FSink, QStringLiteral("Обнаружены узлы без указанных коодинат:"));
    int listed = 0;
    int i = 0;
    for (const TUzel *n : FMine.Uzels()) {
        ++i;
        if (n->X() != kUnsetReal && n->Y() != kUnsetReal && n->Z() != kUnsetReal)
            continue;
        result = false;
        if (listed == kMaxListed) {
            FSink.AddMessage(StopLine());
            break;
        }
        group.Add(QStringLiteral("  - № %1,  X=%2,  Y=%3,  Z=%4")
                      .arg(QString::number(n->Number()), FormatCoordinate(n->X()), FormatCoordinate(n->Y()),
                           FormatCoordinate(n->Z())),
                  TErrorInfo{ErrorKind::Coordinates, i});
        ++listed;
    }

    FMine.SetTopologyValid(result);
    r.Passed = result;
    return r;
}

TStageResult TTopologyCheck::CheckPhysics()
{
    StatusScope status(FStatus, QStringLiteral("Проверка физических характеристик"));
    TStageResult r;
    bool result = true;

    // The bounds are valid values; a pressure that is not a number is not.
    const qint32 t = FMine.Temperature();
    const float p = FMine.Pressure();
    if (t < -60 || t > 60 || !(p >= 0.95f && p <= 1.05f)) {
        result = false;
        Group physics(FSink, QStringLiteral("Физические характеристики шахты:"));
        physics.Add(QStringLiteral("Неверные значения температуры или давления в шахте"),
                    TErrorInfo{ErrorKind::MinePhysics, 0});
    }

    status.Show(QStringLiteral("Проверка инцидентностей узлов"));
    Group topology(FSink, QStringLiteral("Нарушение топологии шахты:"));
    std::vector<int> counts;
    counts.reserve(size_t(FMine.Uzels().Count()));
    int i = 0;
    for (const TUzel *n : FMine.Uzels()) {
        ++i;
        const int c = n->BranchCount();
        counts.push_back(c);
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
        topology.Add(text.arg(n->Number()), TErrorInfo{ErrorKind::UzelIncidence, i});
    }

    // Per branch: its number, whether both its nodes carry one branch, and the positions of its
    // two nodes (the first node with each number, as the resolution links them), which stand for
    // the node numbers one to one.
    const TBranchList &branches = FMine.Branches();
    const size_t count = size_t(branches.Count());
    std::vector<int> lo, hi;
    std::vector<qint32> numbers;
    std::vector<int> isolated;
    lo.reserve(count);
    hi.reserve(count);
    numbers.reserve(count);
    bool byPosition = true;
    bool fromSnapshot = FSnapshot && FSnapshot->ends.size() == count && FSnapshot->uzelNumbers.size() == counts.size();
    if (fromSnapshot) {
        // Within CheckAll: the numbers stage 1 read, every one of them naming a node.
        TKeyTable position(FSnapshot->uzelNumbers);
        for (size_t k = FSnapshot->uzelNumbers.size(); k-- > 0;)
            position.Slot(FSnapshot->uzelNumbers[k]) = int(k);   // the first node wins
        for (const Ends &e : FSnapshot->ends) {
            if (!position.Contains(NumberKey(e.Start)) || !position.Contains(NumberKey(e.End))) {
                fromSnapshot = false;   // not what stage 1 left behind: read the branches
                break;
            }
            const int s = position.Slot(NumberKey(e.Start));
            const int z = position.Slot(NumberKey(e.End));
            if (counts[size_t(s)] == 1 && counts[size_t(z)] == 1)
                isolated.push_back(int(numbers.size()));
            lo.push_back(std::min(s, z));
            hi.push_back(std::max(s, z));
            numbers.push_back(e.Number);
        }
    }
    if (!fromSnapshot) {
        lo.clear();
        hi.clear();
        numbers.clear();
        isolated.clear();
        ForEachPrefetched(branches, [&](const TBranch *b) {
            const TUzel *s = b->StartUzel();
            const TUzel *e = b->EndUzel();
            if (s && e) {
                if (s->BranchCount() == 1 && e->BranchCount() == 1)
                    isolated.push_back(int(numbers.size()));
                lo.push_back(std::min(s->ListPos(), e->ListPos()));
                hi.push_back(std::max(s->ListPos(), e->ListPos()));
            } else {
                byPosition = false;
            }
            numbers.push_back(b->Number());
        });
    }
    std::vector<int> next;
    if (byPosition) {
        LinkEqualPairs(lo, hi, int(counts.size()), next);
    } else {
        // Ends not linked to nodes (stage 3 run on its own): the node numbers themselves.
        std::vector<quint64> keys;
        keys.reserve(count);
        for (const TBranch *b : branches)
            keys.push_back(UnorderedPairKey(b->StartNumber(), b->EndNumber()));
        LinkEqualKeys(keys, next);
    }

    size_t nextIsolated = 0;
    int parallels = 0;
    for (size_t i = 0; i < count && parallels <= kMaxPairs; ++i) {
        if (nextIsolated < isolated.size() && size_t(isolated[nextIsolated]) == i) {
            ++nextIsolated;
            result = false;
            topology.Add(QStringLiteral("  - Обнаружена изолированная ветвь %1").arg(numbers[i]),
                         TErrorInfo{ErrorKind::BranchIncidence, int(i) + 1});
        }
        for (int j = next[i]; j >= 0; j = next[size_t(j)]) {
            result = false;
            if (parallels++ == kMaxPairs) {
                FSink.AddMessage(StopLine());
                break;
            }
            topology.Add(QStringLiteral("  - Обнаружены параллельные ветви (%1 и %2)").arg(numbers[i]).arg(numbers[size_t(j)]),
                         TErrorInfo{ErrorKind::BranchIncidence, int(i) + 1});
        }
    }

    r.Passed = result;
    return r;
}

TCheckOutcome TTopologyCheck::CheckAll()
{
    FSnapshot = std::make_shared<Snapshot>();
    struct Drop {
        std::shared_ptr<Snapshot> &s;
        ~Drop() { s.reset(); }
    } drop{FSnapshot};
    TCheckOutcome outcome;
    outcome.StagesRun = 1;
    outcome.Last = CheckTopology();
    if (!outcome.Last.Passed)
        return outcome;
    const TStageResult first = outcome.Last;
    outcome.StagesRun = 2;
    outcome.Last = CheckCoordinates();
    if (outcome.Last.Passed) {
        outcome.StagesRun = 3;
        outcome.Last = CheckPhysics();
    }
    outcome.Last.DeletedUzels = first.DeletedUzels;
    outcome.Last.DeletedBranches = first.DeletedBranches;
    return outcome;
}
