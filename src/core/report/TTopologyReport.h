#pragma once
// The topology report of a mine: a title page, the node table in two half-page columns, the
// branch table, and a page number at the foot of every page. The report reads the mine as it is
// when it is built and keeps nothing of it: it is built afresh for every preview and printing.
//
// TReportChoice is what the print dialog (or the command line) asks for; the rows of a selective
// report are positions in the list printed (nodes for NodeList, branches for BranchList).
//
// Lengths and angles come from the branches' resolved ends: the command line resolves the mine
// it read; the editor prints a ResolvedCopy, which leaves its document as it is.
//
// Nothing is cut: the number columns are as wide as their widest number (the usual widths are
// their least), the fonts of a table that then does not fit the page go down in steps to 7 pt,
// names wrap within their column and the mine's name within the page.
#include "report/TReportDocument.h"
#include "report/TTextMetrics.h"

#include <QDateTime>
#include <QString>
#include <memory>

class TMine;
class TPageSurface;

struct TReportChoice {
    enum List : quint8 { AllLists, NodeList, BranchList };

    bool TitlePage = true;
    bool Tables = true;
    List Lists = AllLists;
    // Only rows FirstRow..LastRow (0-based, inclusive) of the one list printed; ignored when both
    // lists are printed.
    bool Selective = false;
    int FirstRow = 0;
    int LastRow = -1;

    bool PrintsNodes() const { return Tables && Lists != BranchList; }
    bool PrintsBranches() const { return Tables && Lists != NodeList; }
    bool PrintsAnything() const { return TitlePage || Tables; }
};

class TTopologyReport {
public:
    TTopologyReport(const TMine &mine, const TReportChoice &choice);

    // The moment the title page names; the current one unless set.
    void SetMoment(const QDateTime &moment) { FMoment = moment; }

    // "Топология шахты "<name>"": the print job's and the PDF's title, the name in one line of
    // at most 1,000 characters.
    static QString DocumentTitle(const TMine &mine);

    // What the report prints of mine, in a mine of its own with the branch ends resolved: the
    // title, the nodes and the branches in list order with their numbers, coordinates, surface
    // marks, sections, shapes and names.
    static std::unique_ptr<TMine> ResolvedCopy(const TMine &mine);

    // Composes the report into document (which it clears first) and sets its title. Nothing is
    // composed when the choice prints nothing. With a sink, each page goes to it as soon as it
    // is composed and is then dropped from the document.
    void Build(TReportDocument &document, const TTextMetrics &metrics, const TPageSink &sink = {}) const;

private:
    static QString DocumentTitleOf(const QString &name);
    void TitlePage(TPageSurface &surface) const;
    void NodeTable(TPageSurface &surface) const;
    void BranchTable(TPageSurface &surface) const;
    // The rows [first, last) of a list of count elements that the choice prints.
    std::pair<int, int> Rows(int count) const;

    const TMine &FMine;
    TReportChoice FChoice;
    QDateTime FMoment;
};
