#pragma once
// The editor of a mine's seams and plan positions ("Пласты и позиции ПЛА"): two pages sharing
// one list of names with colour swatches; adding, renaming, deleting and colouring a group.
//
// Who owns what: the dialog owns its widgets and holds the mine only for its run; every change
// goes through the model (creating a TLayer or TPLF, SetName, SetColor, the list's Delete, which
// re-indexes the branches). The caller refills the main window's group boxes when it returns.
#include <QDialog>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;
class QTabBar;
class QToolButton;
class TLayer;
class TLayerList;
class TMine;

class TEditLayersForm : public QDialog {
    Q_OBJECT
public:
    enum Page { LayersPage = 0, PLFsPage = 1 };

    TEditLayersForm(TMine *mine, int page, QWidget *parent = nullptr);

    // Runs the editor modally on page.
    static void Execute(QWidget *parent, TMine *mine, int page);

    int CurrentPage() const;
    void SetPage(int page);
    // The groups of the page shown, and the selected one (or none).
    TLayerList &Groups() const;
    TLayer *SelectedGroup() const;

    // The buttons' work, as their clicks run it.
    void AddGroup();
    void RenameGroup();
    void DeleteGroup();
    void ChooseColor();

    // The input box: caption, prompt and proposed text; returns the answer, which is the
    // proposed text when the box is cancelled. Unset: a text box that admits only what the
    // file's code page holds. Tests replace it.
    std::function<QString(const QString &caption, const QString &prompt, const QString &text)> AskText;
    // The colour picker at a screen point with a colour: true with the chosen colour. Unset:
    // TSelectColorDialog. Tests replace it.
    std::function<bool(const QPoint &point, quint32 &color)> PickColor;

    QTabBar *Pages = nullptr;
    QListWidget *lbGroups = nullptr;
    QPushButton *btnAdd = nullptr;
    QPushButton *btnRename = nullptr;   // "&Имя", on the plan-positions page "&Номер"
    QPushButton *btnDelete = nullptr;
    QLabel *lbColor = nullptr;
    QToolButton *btnColor = nullptr;
    QPushButton *btnClose = nullptr;
    QPushButton *btnHelp = nullptr;

private:
    void fillList();
    void updateButtons();
    bool isPLFPage() const { return CurrentPage() == PLFsPage; }
    QString ask(const QString &proposed);
    // A name that a group (row) has already: that group is selected and the user told.
    void showTaken(int row);

    TMine *m_mine;
};
