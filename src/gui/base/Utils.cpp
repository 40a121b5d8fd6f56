#include "base/Utils.h"

#include "AppError.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QBoxLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLocale>
#include <QPaintDevice>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <cmath>

void RaiseInvalidNumber()
{
    throw AppError(QStringLiteral("Неверно указано число"));
}

QChar FilterNumberKey(QChar key, bool realNumber, const QString &extra)
{
    if (key == QChar(8) || (key >= u'0' && key <= u'9') || extra.contains(key))
        return key;
    if (realNumber) {
        if (key == u'+' || key == u'E' || key == u'e')
            return key;
        if (QLocale().decimalPoint() == QString(key))
            return key;
    }
    return QChar(0);
}

namespace {

class NumberKeyFilter : public QObject {
public:
    NumberKeyFilter(QObject *parent, bool realNumber, QString extra)
        : QObject(parent), m_realNumber(realNumber), m_extra(std::move(extra))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const QString text = key->text();
            // Only typed characters are filtered; editing keys and shortcuts have none that
            // prints.
            if (text.size() == 1 && text.front().isPrint() &&
                FilterNumberKey(text.front(), m_realNumber, m_extra).isNull())
                return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_realNumber;
    QString m_extra;
};

constexpr int Channel(quint32 color, int shift) { return int((color >> shift) & 0xFF); }

} // namespace

void InstallNumberKeyFilter(QWidget *editor, bool realNumber, const QString &extra)
{
    editor->installEventFilter(new NumberKeyFilter(editor, realNumber, extra));
}

int FitDropDownWidth(QComboBox *box, int extraPixels)
{
    const QFontMetrics metrics(box->font());
    int widest = 0;
    for (int i = 0; i < box->count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(box->itemText(i)));
    QStyle *style = box->style();
    int width = widest + style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box) +
                extraPixels + 5;
    if (box->count() > box->maxVisibleItems())
        width += style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, box);
    // The drop-down is never narrower than the box itself, so this only ever widens it.
    box->view()->setMinimumWidth(width);
    return width;
}

quint32 ShiftColor(quint32 color, int amount)
{
    auto shifted = [amount](int channel) { return quint32(std::clamp(channel + amount, 0, 255)); };
    return shifted(Channel(color, 0)) | shifted(Channel(color, 8)) << 8 |
           shifted(Channel(color, 16)) << 16;
}

quint32 InvertColor(quint32 color)
{
    return 0xFFFFFFu - (color & 0xFFFFFFu);
}

QColor ToQColor(quint32 color)
{
    return QColor(Channel(color, 0), Channel(color, 8), Channel(color, 16));
}

quint32 FromQColor(const QColor &color)
{
    const QRgb rgb = color.rgb();
    return quint32(qRed(rgb)) | quint32(qGreen(rgb)) << 8 | quint32(qBlue(rgb)) << 16;
}

void RegisterFontSubstitutes()
{
    static const bool registered = [] {
        // Without these the old Windows dialog font falls back to the desktop default, which is
        // much wider; Arial and Times New Roman are matched by fontconfig's metric aliases.
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Microsoft Sans Serif"),
                                    QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
        return true;
    }();
    Q_UNUSED(registered);
}

QFont CellFont(const QString &name, int pointSize)
{
    RegisterFontSubstitutes();
    QFont font(name);
    // A size typed as 0 (or a hand-edited store) must not give a font Qt refuses; an absurd one
    // must not make glyphs of hundreds of megabytes.
    font.setPointSize(pointSize > 0 ? std::min(pointSize, 500) : 8);
    return font;
}

QString PlainToolTip(const QString &text)
{
    if (text.isEmpty())
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + OneLineText(text).toHtmlEscaped() + QStringLiteral("</p>");
}

int FontPixelHeight(const QFont &font, const QPaintDevice *device)
{
    if (font.pixelSize() > 0)
        return font.pixelSize();
    qreal dpi = 96;
    if (device)
        dpi = device->logicalDpiY();
    else if (const QScreen *screen = QGuiApplication::primaryScreen())
        dpi = screen->logicalDotsPerInchY();
    return int(std::lround(font.pointSizeF() * dpi / 72.0));
}

int CellRowHeight(const QFont &font, const QPaintDevice *device)
{
    return std::abs(FontPixelHeight(font, device)) + 7;
}

TDialogButtons MakeDialogButtons(QWidget *parent, const TDialogCaptions &captions)
{
    TDialogButtons b;
    b.Ok = new QPushButton(captions.Ok, parent);
    b.Ok->setObjectName(QStringLiteral("btnOK"));
    b.Ok->setDefault(true);
    b.Cancel = new QPushButton(captions.Cancel, parent);
    b.Cancel->setObjectName(QStringLiteral("btnCancel"));
    if (!captions.Help.isEmpty()) {
        b.Help = new QPushButton(captions.Help, parent);
        b.Help->setObjectName(QStringLiteral("btnHelp"));
    }
    return b;
}

QBoxLayout *DialogButtonLayout(const TDialogButtons &buttons, bool column)
{
    QBoxLayout *box = column ? static_cast<QBoxLayout *>(new QVBoxLayout) : new QHBoxLayout;
    if (!column)
        box->addStretch(1);
    for (QPushButton *b : {buttons.Ok, buttons.Cancel, buttons.Help})
        if (b)
            box->addWidget(b);
    if (column)
        box->addStretch(1);
    return box;
}

QHBoxLayout *OkCancelRow(QWidget *dialog, const QString &okCaption, QPushButton *&ok, QPushButton *&cancel)
{
    const TDialogButtons b = MakeDialogButtons(dialog, {okCaption, QStringLiteral("Отмена"), QString()});
    b.Cancel->setAutoDefault(false);
    ok = b.Ok;
    cancel = b.Cancel;
    return static_cast<QHBoxLayout *>(DialogButtonLayout(b));
}
