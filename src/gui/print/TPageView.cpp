#include "print/TPageView.h"

#include "ReportOutput.h"
#include "TPainterPageCanvas.h"
#include "report/TPageSurface.h"
#include "report/TReportDocument.h"

#include <QPainter>

TPageView::TPageView(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(false);
    updateSize();
}

void TPageView::SetDocument(const TReportDocument *document)
{
    m_document = document;
    m_page = 0;
    update();
}

void TPageView::SetPage(int index)
{
    m_page = index;
    update();
}

void TPageView::SetZoom(int percent)
{
    m_zoom = percent;
    updateSize();
    update();
}

QSizeF TPageView::PaperSize() const
{
    // The page is painted with one scale for both directions, so its size takes the same.
    const double dotsPerCm = TPainterPageCanvas::DotsPerCm(logicalDpiX());
    return {TPageSurface::kPaperWidth * dotsPerCm, TPageSurface::kPaperHeight * dotsPerCm};
}

void TPageView::updateSize()
{
    const QSizeF paper = PaperSize() * (m_zoom / 100.0);
    setFixedSize(qCeil(paper.width()) + 1, qCeil(paper.height()) + 1);
}

QImage TPageView::PageImage() const
{
    if (!m_document || m_page >= m_document->PageCount())
        return QImage();
    return ReportOutput::PageImage(*m_document, m_page, logicalDpiX());
}

void TPageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const double scale = m_zoom / 100.0;
    const QSizeF paper = PaperSize() * scale;
    painter.fillRect(QRectF(QPointF(0, 0), paper), Qt::white);
    painter.setPen(Qt::darkGray);
    painter.drawRect(QRectF(QPointF(0, 0), paper));
    if (!m_document || m_page < 0 || m_page >= m_document->PageCount())
        return;
    painter.scale(scale, scale);
    TPainterPageCanvas::PaintPage(*m_document, m_page, painter, TPainterPageCanvas::DotsPerCm(logicalDpiX()));
    emit PagePainted(m_page);
}
