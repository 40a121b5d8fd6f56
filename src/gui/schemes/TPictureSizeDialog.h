#pragma once
// "Размер рисунка": the size in pixels of the scheme's picture file, asked after the file was
// chosen in "Сохранить схему как...". It proposes the size chosen last while the program runs
// (1920 x 1200 at first); "Как в окне" gives the size of the scheme in the window. Created for
// each use, modal.
#include <QDialog>
#include <QSize>

class QPushButton;
class QSpinBox;

class TPictureSizeDialog : public QDialog {
    Q_OBJECT
public:
    // Pictures up to 10,000 pixels a side, as the command line draws them.
    static constexpr int kMaxSide = 10000;

    TPictureSizeDialog(QSize windowSize, QWidget *parent = nullptr);

    QSize PictureSize() const;
    void SetPictureSize(QSize size);

    // Asks; true with the size in *size when the user confirmed it (it is then proposed next).
    static bool Ask(QWidget *parent, QSize windowSize, QSize *size);
    // The size proposed at the next asking.
    static QSize ProposedSize();

    QSpinBox *edWidth = nullptr;
    QSpinBox *edHeight = nullptr;
    QPushButton *btnWindowSize = nullptr;   // "Как в окне"
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

private:
    static QSize s_proposed;
};
