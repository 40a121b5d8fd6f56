#pragma once
// "Схема инцидентностей": the tool window around one incidence scheme control. At most one exists;
// the main window creates it on its command and keeps a guarded pointer to it. It stays on top
// without being modal and shows the document it is pointed at: the main window points it at the
// active document when the command runs and whenever another document becomes active, and at
// none when its document closes. Closing it destroys it; its bounds are remembered until the next
// opening while the program runs.
//
// Layout: the control IncidentGraph across the top, taking every change of size; under it the
// label choice (TextInfoGroup: node numbers, branch numbers) and the buttons "&Помощь",
// "&Обновить" (F5) and "&Закрыть" (Esc).
//
// Who drives it: the document's tables (a row of the node table shows that node, of the branch
// table that branch) and the 3D scheme (a branch picked there); clicks on the control move the
// document's tables in turn.
#include <QPointer>
#include <QRect>
#include <QWidget>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class TIncidHost;
class TIncidentGraph;
class TMine;

class TIncidGraphForm : public QWidget {
    Q_OBJECT
public:
    explicit TIncidGraphForm(QWidget *parent = nullptr);
    ~TIncidGraphForm() override;

    // Points the window at a document (none: the control shows only its background): "&Обновить"
    // is enabled exactly with a document, and with one the window refreshes. False when that
    // refresh closed the window.
    bool SetDocument(TIncidHost *document);
    TIncidHost *Document() const;
    // "&Обновить": the document's stage-1 check; when it fails the window closes itself (false).
    // Otherwise the control shows the document's mine at its current node, when the node table
    // holds the document's focus, or else at its current branch.
    bool Refresh();
    // A table's row or the 3D scheme chose the node (branch) of that number in mine; ignored when
    // the window shows another mine.
    void ShowUzel(const TMine *mine, qint32 number);
    void ShowBranch(const TMine *mine, qint32 number);

    // Closed and waiting to be destroyed: the main window makes a new one.
    bool IsClosed() const { return m_closed; }

    // Bounds the next window opens with.
    static QRect RememberedBounds();

    TIncidentGraph *IncidentGraph = nullptr;
    QGroupBox *TextInfoGroup = nullptr;
    QButtonGroup *TextInfoButtons = nullptr;   // 0 "Номера узлов", 1 "Номера ветвей"
    QPushButton *btnHelp = nullptr;
    QPushButton *btnRefresh = nullptr;
    QPushButton *btnClose = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    void letGo();

    TIncidHost *m_document = nullptr;
    QPointer<QObject> m_documentObject;
    QMetaObject::Connection m_documentGone;
    bool m_closed = false;
    static QRect s_bounds;
};
