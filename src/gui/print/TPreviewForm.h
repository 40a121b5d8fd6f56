#pragma once
// TPreviewForm ("Предварительный просмотр"): the report of its print dialog, page by page, at a
// zoom. Created by the print dialog when that is shown and destroyed with it; shown maximised
// and modal over it. Showing builds the report afresh; only the page on the screen is painted.
//
// Copies are the print dialog's: the two boxes follow each other. "&Печать" prints through the
// print dialog, which stays open.
#include <QDialog>

class QComboBox;
class QPushButton;
class QScrollArea;
class QSpinBox;
class TPageView;
class TPrintForm;

class TPreviewForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 17;

    explicit TPreviewForm(TPrintForm *printForm);

    // Shows the window maximised and modal (the report is built on showing).
    void Present();

    // The zoom box's list; the last item's first letter is a Latin C.
    static const QStringList &ZoomItems();
    // A zoom box text: an item of the list or a number of percent, with or without "%". A text
    // that is no number leaves the zoom as it was. The box then shows the zoom in effect.
    void ApplyZoomText(const QString &text);
    int ZoomPercent() const;
    // index 0-based
    void ShowPage(int index);
    int CurrentPage() const;
    // The page shown, as a picture on the clipboard.
    void CopyPage();

    QComboBox *cbZoom = nullptr;
    QComboBox *cbPage = nullptr;
    QPushButton *btnPrev = nullptr;
    QPushButton *btnNext = nullptr;
    QSpinBox *seCopies = nullptr;
    QPushButton *btnPrint = nullptr;
    QPushButton *btnCopy = nullptr;
    QPushButton *btnHelp = nullptr;
    QPushButton *btnClose = nullptr;
    QScrollArea *Scroller = nullptr;
    TPageView *PageView = nullptr;

    // Zoom limits: below, a page is a speck; above, one line fills the screen.
    static constexpr int kMinZoom = 10;
    static constexpr int kMaxZoom = 1000;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;

private:
    enum class Fit { None, PageWidth, WholePage };
    void buildControls();
    void applyFit();
    void setZoom(int percent);
    void fillPages();

    TPrintForm *m_printForm;
    Fit m_fit = Fit::PageWidth;
    bool m_activated = false;
};
