#pragma once
// The find dialog ("Найти"): a parameter (a column of the node or branch table, in the
// document's present column order) and the values of that column for every element, sorted;
// choosing a value gives the element's list position.
//
// The value list is an edit field over an always-open list: typing selects the first value
// that begins with the typed text. The parameter chosen last on each page is chosen again the
// next time, for the rest of the run.
#include "model/FindValues.h"

#include <QDialog>
#include <vector>

class QComboBox;
class QLineEdit;
class QListView;
class QPushButton;
class QTabWidget;
class TFindValueModel;
class TMineDocument;

class TFindForm : public QDialog {
    Q_OBJECT
public:
    enum Kind { Uzels = 0, Branches = 1 };
    static constexpr char HelpPage[] = "find.html";

    TFindForm(const TMineDocument &document, int kind, QWidget *parent = nullptr);
    ~TFindForm() override;

    // Runs the dialog: the chosen element's position in the node or branch list (from 0), or
    // -1 when cancelled.
    static int Execute(QWidget *parent, const TMineDocument &document, int kind);

    // The column kinds in the order of the parameter list.
    const std::vector<int> &ParameterKinds() const { return m_kinds; }
    // Chooses parameter index of the list and rebuilds the values.
    void ChooseParameter(int index);
    const std::vector<TFindValue> &Values() const { return m_values; }
    // The selected value's index in Values(), or -1.
    int SelectedValue() const;
    void SelectValue(int index);
    // The list position of the selected value's element, or -1 (also after "Отмена").
    int Result() const { return m_result; }

    // The run's memory of the parameter chosen last on each page (a column kind; -1: none
    // yet, the first is taken).
    static int RememberedKind(int kind);
    static void SetRememberedKind(int kind, int columnKind);

    QTabWidget *PageControl = nullptr;
    QComboBox *cbParams = nullptr;
    QLineEdit *edValue = nullptr;
    QListView *lbValues = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

    // OK or a double click: closes only while a value is selected.
    void TryAccept();

private:
    void typed(const QString &text);

    const TMineDocument &m_document;
    int m_kind;
    std::vector<int> m_kinds;
    std::vector<TFindValue> m_values;
    TFindValueModel *m_model = nullptr;
    int m_result = -1;
    bool m_filling = false;
};
