#pragma once
// The node and branch tables of one document in a shown, active window, as the table tests drive
// them. The results question is answered from answers (no when it is empty) and counted.
#include "TablesWindow.h"
#include "model/TMine.h"

#include <QQueue>
#include <QtTest>
#include <memory>

struct TablesHarness {
    TMineDocument doc;
    QWidget window;
    std::unique_ptr<TNetworkTables> tables;
    int questions = 0;
    QQueue<bool> answers;

    TablesHarness()
    {
        tables = ShowTables(doc, window, QSize(1000, 400));
        tables->ConfirmResults = [this] {
            if (!doc.Calculated())
                return true;
            ++questions;
            const bool yes = !answers.isEmpty() && answers.dequeue();
            if (yes)
                doc.SetCalculated(false);
            return yes;
        };
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    TMine *mine() const { return doc.Mine(); }
    TNetworkGrid *uzels() const { return tables->UzelGrid; }
    TNetworkGrid *branches() const { return tables->BranchGrid; }

    // Focus on grid, current cell at (row, column of kind).
    void go(TNetworkGrid *grid, int row, int kind)
    {
        grid->setFocus();
        QApplication::processEvents();
        const int column = grid->TableModel()->ColumnOfKind(kind);
        QVERIFY(column >= 0);
        grid->SetCurrentCell({.Row = row, .Column = column});
    }
};
