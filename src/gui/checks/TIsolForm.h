#pragma once
// "Висячие и изолированные ветви": the dead ends of the active document's network in three
// lists (hanging branches, isolated branches, isolated nodes), rebuilt from the mine on every
// refresh. At most one exists; it stays on top without being modal, remembers its place for the
// run, and closes itself when its document closes or fails the stage-1 check.
#include <QPointer>
#include <QTableWidget>
#include <QWidget>

class QLabel;
class QPushButton;
class TIsolHost;

// A list with the grid's looks: one fixed narrow column, one header row, rows of 18 pixels.
class TIsolGrid : public QTableWidget {
    Q_OBJECT

public:
    TIsolGrid(const QStringList &headers, const QList<int> &widths, QWidget *parent = nullptr);
    // Header row plus one empty data row.
    void Reset();
    // Writes the entry into the last row, then adds a row.
    void AppendEntry(const QStringList &cells);
    // A grid with more than one data row loses its last, empty one.
    void Finish();
    // Number in the first data column of the current row; false when the cell is empty.
    bool CurrentNumber(qint32 &number) const;
};

class TIsolForm : public QWidget {
    Q_OBJECT

public:
    // actCheckIsol: creates the window if none exists, points it at host and refreshes it.
    static TIsolForm *Open(TIsolHost *host);
    static TIsolForm *Instance();

    ~TIsolForm() override;

    // Runs the stage-1 check of the document; rebuilds the lists and shows the window when it
    // passed, closes the window when it did not.
    void Refresh();
    TIsolHost *Host() const;

    TIsolGrid *Grid1 = nullptr;   // hanging branches
    TIsolGrid *Grid2 = nullptr;   // isolated branches
    TIsolGrid *Grid3 = nullptr;   // isolated nodes
    QPushButton *btnClose = nullptr;
    QPushButton *btnRefresh = nullptr;
    QPushButton *btnHelp = nullptr;

    // The last remembered place of the window (left, top).
    static QPoint RememberedPosition();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    explicit TIsolForm(QWidget *parent = nullptr);
    void SetHost(TIsolHost *host);
    void Rebuild();
    void GridDblClick(TIsolGrid *grid);

    TIsolHost *m_host = nullptr;
    QPointer<QObject> m_hostObject;
};
