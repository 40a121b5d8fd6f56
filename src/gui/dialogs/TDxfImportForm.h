#pragma once
// "Импорт из DXF": the choices of an import from a CAD drawing that the drawing has been read
// for. The tolerance within which line ends join into one node, the distance within which a text
// names a branch (empty: none), whether polylines split where lines end on their vertices, and
// the layers to take, listed from the drawing, all ticked but the one export draws stoppings on.
// "&ОК" checks the numbers and that a layer is ticked and says what is wrong otherwise.
#include "exchange/DxfNetwork.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
struct TDxfDrawing;

class TDxfImportForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 41;

    // layers: the drawing's layers holding lines or texts; ticked: those ticked at first.
    TDxfImportForm(const QStringList &layers, const QStringList &ticked, QWidget *parent = nullptr);

    // Runs the dialog on drawing; true with options filled when accepted.
    static bool Execute(QWidget *parent, const TDxfDrawing &drawing, TDxfImportOptions &options);

    // The choices as options; false with problem (the text of the error box) when one is wrong.
    bool Choices(TDxfImportOptions &options, QString *problem) const;

    QLineEdit *edTolerance = nullptr;
    QLineEdit *edNames = nullptr;
    QCheckBox *cbSplit = nullptr;
    QListWidget *lbLayers = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;
    QPushButton *btnHelp = nullptr;

private:
    void accept() override;
};
