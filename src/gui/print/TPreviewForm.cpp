#include "print/TPreviewForm.h"

#include "base/Guarded.h"
#include "base/Help.h"
#include "print/TPageView.h"
#include "print/TPrintForm.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const QString kPageWidth = QStringLiteral("По ширине страницы");
// Written with a Latin C, as the box has always shown it.
const QString kWholePage = QStringLiteral("Cтраница целиком");
// Room around the page inside the scroll area when fitting it.
constexpr int kFitMargin = 12;

} // namespace

TPreviewForm::TPreviewForm(TPrintForm *printForm) : QDialog(printForm), m_printForm(printForm)
{
    setWindowTitle(QStringLiteral("Предварительный просмотр"));
    setModal(true);
    buildControls();
}

const QStringList &TPreviewForm::ZoomItems()
{
    static const QStringList items{QStringLiteral("25%"), QStringLiteral("50%"),  QStringLiteral("75%"),
                                   QStringLiteral("100%"), QStringLiteral("150%"), QStringLiteral("200%"),
                                   QStringLiteral("500%"), kPageWidth,             kWholePage};
    return items;
}

void TPreviewForm::buildControls()
{
    cbZoom = new QComboBox(this);
    cbZoom->setEditable(true);
    cbZoom->setInsertPolicy(QComboBox::NoInsert);
    cbZoom->addItems(ZoomItems());
    cbZoom->lineEdit()->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9%]*")), cbZoom));
    cbZoom->setMinimumContentsLength(18);
    auto *zoomLabel = new QLabel(QStringLiteral("&Масштаб"), this);
    zoomLabel->setBuddy(cbZoom);

    cbPage = new QComboBox(this);
    cbPage->setMinimumContentsLength(5);
    auto *pageLabel = new QLabel(QStringLiteral("&Страница"), this);
    pageLabel->setBuddy(cbPage);
    btnPrev = new QPushButton(QStringLiteral("&<<"), this);
    btnPrev->setToolTip(QStringLiteral("Предыдущая страница"));
    btnNext = new QPushButton(QStringLiteral(">&>"), this);
    btnNext->setToolTip(QStringLiteral("Следующая страница"));

    seCopies = new QSpinBox(this);
    seCopies->setRange(1, 1000000);
    seCopies->setValue(m_printForm->seCopies->value());
    auto *copiesLabel = new QLabel(QStringLiteral("Копии"), this);
    copiesLabel->setBuddy(seCopies);

    btnPrint = new QPushButton(QStringLiteral("&Печать"), this);
    btnPrint->setToolTip(QStringLiteral("Вывод отчета на печать"));
    btnCopy = new QPushButton(QStringLiteral("Копировать"), this);
    btnCopy->setToolTip(QStringLiteral("Копирование текущей страницы в буфер обмена"));
    btnHelp = new QPushButton(QStringLiteral("&Помощь"), this);
    btnClose = new QPushButton(QStringLiteral("&Закрыть"), this);
    for (QPushButton *button : {btnPrev, btnNext, btnPrint, btnCopy, btnHelp, btnClose})
        button->setAutoDefault(false);

    PageView = new TPageView;
    Scroller = new QScrollArea(this);
    Scroller->setWidget(PageView);
    Scroller->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Scroller->setBackgroundRole(QPalette::Dark);

    auto *tools = new QHBoxLayout;
    tools->addWidget(zoomLabel);
    tools->addWidget(cbZoom);
    tools->addSpacing(12);
    tools->addWidget(pageLabel);
    tools->addWidget(cbPage);
    tools->addWidget(btnPrev);
    tools->addWidget(btnNext);
    tools->addSpacing(12);
    tools->addWidget(copiesLabel);
    tools->addWidget(seCopies);
    tools->addSpacing(12);
    tools->addWidget(btnPrint);
    tools->addWidget(btnCopy);
    tools->addWidget(btnHelp);
    tools->addStretch();
    tools->addWidget(btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(Scroller, 1);
    resize(800, 600);

    connect(cbZoom, &QComboBox::activated, this, [this](int index) { ApplyZoomText(cbZoom->itemText(index)); });
    connect(cbZoom->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        ApplyZoomText(cbZoom->currentText());
        cbZoom->lineEdit()->selectAll();
    });
    connect(cbPage, &QComboBox::currentIndexChanged, this, &TPreviewForm::ShowPage);
    connect(btnPrev, &QPushButton::clicked, this, [this] { ShowPage(CurrentPage() - 1); });
    connect(btnNext, &QPushButton::clicked, this, [this] { ShowPage(CurrentPage() + 1); });
    connect(seCopies, &QSpinBox::valueChanged, m_printForm->seCopies, &QSpinBox::setValue);
    connect(m_printForm->seCopies, &QSpinBox::valueChanged, seCopies, &QSpinBox::setValue);
    connect(btnPrint, &QPushButton::clicked, this, [this] {
        // The report is built afresh for printing, from the same mine and the same choices.
        RunGuarded([this] { m_printForm->PrintReport(); });
        PageView->update();
    });
    connect(btnCopy, &QPushButton::clicked, this, &TPreviewForm::CopyPage);
    connect(btnHelp, &QPushButton::clicked, this, [this] { ShowHelpTopic(this, HelpContext); });
    InstallHelpKey(this, HelpContext);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

void TPreviewForm::Present()
{
    setWindowState(windowState() | Qt::WindowMaximized);
    exec();
}

void TPreviewForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_activated = false;
    ApplyZoomText(kPageWidth);
    RunGuarded([this] { m_printForm->BuildDocument(); });
    fillPages();
}

bool TPreviewForm::event(QEvent *event)
{
    const bool done = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate && !m_activated) {
        m_activated = true;
        if (ZoomPercent() > 100)
            ApplyZoomText(QStringLiteral("100%"));
    }
    return done;
}

void TPreviewForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    applyFit();
}

void TPreviewForm::fillPages()
{
    PageView->SetDocument(&m_printForm->Document());
    const int count = m_printForm->Document().PageCount();
    QStringList numbers;
    numbers.reserve(count);
    for (int i = 1; i <= count; ++i)
        numbers << QString::number(i);
    {
        const QSignalBlocker blocker(cbPage);
        cbPage->clear();
        cbPage->addItems(numbers);
    }
    ShowPage(0);
}

void TPreviewForm::ApplyZoomText(const QString &text)
{
    if (text == kPageWidth || text == kWholePage) {
        m_fit = text == kPageWidth ? Fit::PageWidth : Fit::WholePage;
        applyFit();
        return;
    }
    QString number = text.trimmed();
    if (number.endsWith(QLatin1Char('%')))
        number.chop(1);
    bool ok = false;
    const int percent = number.toInt(&ok);
    if (ok) {
        m_fit = Fit::None;
        setZoom(percent);
    } else {
        setZoom(ZoomPercent());
    }
}

void TPreviewForm::applyFit()
{
    if (m_fit == Fit::None)
        return;
    const QSizeF paper = PageView->PaperSize();
    const QSize room = Scroller->viewport()->size() - QSize(kFitMargin, kFitMargin);
    // Fitting the width leaves room for the vertical scroll bar that a long page brings.
    const int scrollBar = Scroller->verticalScrollBar()->sizeHint().width();
    const double byWidth = (room.width() - (m_fit == Fit::PageWidth ? scrollBar : 0)) / paper.width();
    const double byHeight = room.height() / paper.height();
    setZoom(int(100 * (m_fit == Fit::PageWidth ? byWidth : std::min(byWidth, byHeight))));
}

void TPreviewForm::setZoom(int percent)
{
    PageView->SetZoom(std::clamp(percent, kMinZoom, kMaxZoom));
    cbZoom->setEditText(QString::number(PageView->Zoom()) + QLatin1Char('%'));
}

int TPreviewForm::ZoomPercent() const
{
    return PageView->Zoom();
}

void TPreviewForm::ShowPage(int index)
{
    const int count = cbPage->count();
    if (count == 0) {
        btnPrev->setEnabled(false);
        btnNext->setEnabled(false);
        return;
    }
    index = std::clamp(index, 0, count - 1);
    if (cbPage->currentIndex() != index) {
        const QSignalBlocker blocker(cbPage);
        cbPage->setCurrentIndex(index);
    }
    PageView->SetPage(index);
    btnPrev->setEnabled(index > 0);
    btnNext->setEnabled(index < count - 1);
    Scroller->verticalScrollBar()->setValue(0);
}

int TPreviewForm::CurrentPage() const
{
    return PageView->Page();
}

void TPreviewForm::CopyPage()
{
    const QImage image = PageView->PageImage();
    if (!image.isNull())
        QApplication::clipboard()->setImage(image);
}
