#pragma once
// One page of a composed report on the screen, at a zoom, on white paper with a thin frame. Only
// the page shown is ever painted, and only when the screen needs it.
#include <QWidget>

class TReportDocument;

class TPageView : public QWidget {
    Q_OBJECT
public:
    explicit TPageView(QWidget *parent = nullptr);

    void SetDocument(const TReportDocument *document);
    void SetPage(int index);
    int Page() const { return m_page; }
    // percent of the page's real size
    void SetZoom(int percent);
    int Zoom() const { return m_zoom; }
    // Size of the paper on this screen at 100 %.
    QSizeF PaperSize() const;
    // The page at 100 % on this screen, for the clipboard.
    QImage PageImage() const;

signals:
    void PagePainted(int index);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void updateSize();

    const TReportDocument *m_document = nullptr;
    int m_page = 0;
    int m_zoom = 100;
};
