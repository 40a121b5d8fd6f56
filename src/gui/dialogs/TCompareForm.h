#pragma once
// "Сравнение": what changed from a document as it stands in its window to a mine file on disk
// (core's MineDiff), one tree of groups (nodes, branches, stoppings, people, seams and plan
// positions, the document), an element per line with its changed fields below it. A double click
// or Enter on a line makes that element current in the document's tables, as the message list
// does; "Обновить" reads the file again and compares with the document as edited since.
//
// The document window owns the window (one per document and file), which closes with it; the
// window keeps no copy of the document, only the file's mine it compares with.
#include "compare/MineDiff.h"

#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TMineDocument;

class TCompareForm : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHelpTopic = 47;

    // document: the window's document, compared with the file at path (read at each refresh).
    TCompareForm(TMineDocument &document, const QString &path, QWidget *owner);

    // Reads the file and compares; AppError when it cannot be read (the list stays as it was).
    void Refresh();
    const QString &Path() const { return m_path; }
    const TMineDiff &Diff() const { return m_diff; }

    // Makes the element of a line current in the document's tables.
    std::function<void(const TDiffPlace &)> GoTo;

    QTreeWidget *List = nullptr;
    QLabel *lblSummary = nullptr;
    QPushButton *btnRefresh = nullptr;
    QPushButton *btnClose = nullptr;
    QPushButton *btnHelp = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Rebuild();
    void Follow(QTreeWidgetItem *line);

    TMineDocument &m_document;
    QString m_path;
    TMineDiff m_diff;
};
