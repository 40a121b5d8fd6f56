#pragma once
// "Топологическая схема": the tool window around one 3D scheme control. At most one exists; the
// main window creates it on its scheme command and keeps a guarded pointer to it. It stays on
// top of the other windows without being modal, follows the active document (AttachMine) and
// lets go of a document that closes (DetachMine). Closing it detaches the mine and destroys it;
// its bounds are remembered until the next opening while the program runs.
//
// Layout: the control Mine3D fills the window above a bottom panel 84 pixels high. On the
// control: "Пласты..." and "Позиции ПЛА..." with their drop-down check lists (seams and plan
// positions shown), "Показывать узлы" at the bottom left. In the bottom panel: the label choice
// (TextInfoGroup), the colouring list (clbColors) and the buttons "&Помощь", "&Обновить" (F5)
// and "&Закрыть" (Esc).
//
// What is chosen here is stored in the mine (TextInfo, ColorFlags, ShowUzels, seam and plan
// position visibility); the window shows the mine's values when it attaches one.
#include <QPointer>
#include <QRect>
#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QListWidget;
class QPushButton;
class TMine;
class TMine3D;
class TSchemeHost;

class TGraph3DForm : public QWidget {
    Q_OBJECT
public:
    TGraph3DForm(TSchemeHost *host, QWidget *parent = nullptr);
    ~TGraph3DForm() override;

    // "&Обновить": the active document's check; when it passes, its mine is attached, the
    // choices show the mine's values and the window is shown. False when the check failed (the
    // window stays as it was).
    bool Refresh();
    // The active document changed: its mine is attached without a check (none detaches).
    void AttachMine(TMine *mine);
    // A document window closes: the control lets go of its mine.
    void DetachMine(TMine *mine);

    // Bounds the next window opens with.
    static QRect RememberedBounds();

    TMine3D *Mine3D = nullptr;
    QPushButton *btnLayers = nullptr;   // "Пласты..."
    QPushButton *btnPLF = nullptr;      // "Позиции ПЛА..."
    QListWidget *lbLayers = nullptr;
    QListWidget *lbPLFs = nullptr;
    QCheckBox *ShowUzels = nullptr;     // "Показывать узлы"
    QGroupBox *TextInfoGroup = nullptr;
    QButtonGroup *TextInfoButtons = nullptr;
    QListWidget *clbColors = nullptr;
    QPushButton *btnHelp = nullptr;
    QPushButton *btnRefresh = nullptr;
    QPushButton *btnClose = nullptr;

    // Bits of ColorFlags behind the four colouring items.
    static quint16 ColorBit(int item);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    void showMineChoices();
    void toggleList(QListWidget *list, QPushButton *button, bool plfs);
    void fillList(QListWidget *list, bool plfs);
    void hideLists();
    void listItemChanged(QListWidget *list, bool plfs, int row);
    void colorItemChanged(int row);
    void updateRefresh();

    TSchemeHost *m_host;
    bool m_filling = false;
    // The application's focus notice reaches the window until it is let go of by hand: the base
    // class's destructor still moves the focus, after this window's members are gone.
    QMetaObject::Connection m_focusWatch;
    static QRect s_bounds;
};
