#pragma once
// The node and branch tables of a document side by side in a shown window, with the default
// columns: what the table tests and the table benchmarks start from.
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTables.h"
#include "storage/TMineDocument.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QWidget>
#include <memory>

inline std::unique_ptr<TNetworkTables> ShowTables(TMineDocument &doc, QWidget &window, const QSize &size)
{
    auto tables = std::make_unique<TNetworkTables>(doc, &window);
    auto *layout = new QHBoxLayout(&window);
    layout->addWidget(tables->UzelGrid);
    layout->addWidget(tables->BranchGrid, 1);
    tables->ResetColumns();
    tables->RefreshTables();
    window.resize(size);
    window.show();
    QApplication::processEvents();
    return tables;
}
