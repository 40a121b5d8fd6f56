#include "base/AppDialogs.h"

#include "base/Help.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeView>

namespace AppDialogs {

namespace {
MessageHook &messageHook()
{
    static MessageHook hook;
    return hook;
}
FileDialogHook &fileHook()
{
    static FileDialogHook hook;
    return hook;
}
constexpr qsizetype kMaxBoxText = 4000;

QWidget *dialogParent(QWidget *parent)
{
    return parent ? parent : QApplication::activeWindow();
}

// The toolkit's detail view starts its size, type and date columns narrower than their texts,
// which then show cut in the middle ("17,...KiB"): once a folder is read they take the width of
// their texts, the names the rest, and the dialog the room for them all.
void fitDetailColumns(QFileDialog &dialog)
{
    auto *view = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
    auto *model = dialog.findChild<QFileSystemModel *>();
    if (!view || !model)
        return;
    QObject::connect(model, &QFileSystemModel::directoryLoaded, view, [view] {
        int others = 0;
        for (int column = 1; column < view->header()->count(); ++column) {
            view->resizeColumnToContents(column);
            others += view->columnWidth(column);
        }
        view->setColumnWidth(0, qMax(view->columnWidth(0), view->viewport()->width() - others));
    });
    dialog.resize(dialog.sizeHint().expandedTo(QSize(760, 460)));
}
} // namespace

QString AppTitle()
{
    return QStringLiteral("Тарвел");
}

void SetMessageHook(MessageHook hook)
{
    messageHook() = std::move(hook);
}

void SetFileDialogHook(FileDialogHook hook)
{
    fileHook() = std::move(hook);
}

QMessageBox::StandardButton ShowMessageBox(QWidget *parent, const MessageRequest &request)
{
    MessageRequest r = request;
    if (r.caption.isEmpty())
        r.caption = AppTitle();
    if (messageHook())
        return messageHook()(r);

    for (;;) {
        // Paths, titles and names in the text are shown as they are, never as markup; a text
        // beyond any box's use is cut rather than laid out.
        QMessageBox box(r.icon, r.caption, QString(), r.buttons, dialogParent(parent));
        box.setTextFormat(Qt::PlainText);
        box.setText(r.text.size() > kMaxBoxText ? r.text.left(kMaxBoxText) + u'…' : r.text);
        if (r.defaultButton != QMessageBox::NoButton)
            box.setDefaultButton(r.defaultButton);
        if (r.escapeButton != QMessageBox::NoButton)
            box.setEscapeButton(r.escapeButton);
        QPushButton *help = nullptr;
        if (r.helpTopic > 0) {
            // Help must not answer the question: the box stays while the topic is read beside it.
            help = box.addButton(QMessageBox::Help);
            QObject::disconnect(help, &QAbstractButton::clicked, nullptr, nullptr);
            QObject::connect(help, &QAbstractButton::clicked, &box, [&box, topic = r.helpTopic] { ShowHelpTopic(&box, topic); });
            InstallHelpKey(&box, r.helpTopic);
        }
        for (const auto &[button, text] : r.buttonTexts)
            if (QAbstractButton *b = box.button(button))
                b->setText(text);
        box.exec();
        if (help && box.clickedButton() == help)
            continue;
        const auto answer = box.standardButton(box.clickedButton());
        if (answer != QMessageBox::NoButton)
            return answer;
        // Closed with Escape or the close box: the box's escape button decides.
        if (r.escapeButton != QMessageBox::NoButton)
            return r.escapeButton;
        if (r.buttons.testFlag(QMessageBox::Cancel))
            return QMessageBox::Cancel;
        if (r.buttons.testFlag(QMessageBox::No))
            return QMessageBox::No;
        return QMessageBox::Ok;
    }
}

QMessageBox::StandardButton AskQuestion(QWidget *parent, const QString &text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton,
                                        const QString &caption, int helpTopic)
{
    MessageRequest r;
    r.icon = QMessageBox::Question;
    r.caption = caption;
    r.text = text;
    r.buttons = buttons;
    r.defaultButton = defaultButton;
    r.helpTopic = helpTopic;
    return ShowMessageBox(parent, r);
}

void ShowInformation(QWidget *parent, const QString &text, const QString &caption)
{
    MessageRequest r;
    r.icon = QMessageBox::Information;
    r.caption = caption;
    r.text = text;
    ShowMessageBox(parent, r);
}

void ShowError(QWidget *parent, const QString &text)
{
    MessageRequest r;
    r.icon = QMessageBox::Critical;
    r.text = text;
    ShowMessageBox(parent, r);
}

QStringList RunFileDialog(QWidget *parent, const FileDialogRequest &request)
{
    if (fileHook())
        return fileHook()(request);

    QFileDialog dialog(dialogParent(parent), request.title, request.directory, request.filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setDefaultSuffix(request.defaultSuffix);
    // A name typed without an extension takes that of the chosen file type ("(*.svg)" gives
    // ".svg"), not always the first type's.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &request](const QString &filter) {
        static const QRegularExpression one(QStringLiteral(R"(\(\*\.(\w+)\)$)"));
        const QRegularExpressionMatch m = one.match(filter);
        dialog.setDefaultSuffix(m.hasMatch() ? m.captured(1) : request.defaultSuffix);
    });
    dialog.setSizeGripEnabled(true);
    if (request.folder) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly, true);
    } else if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    fitDetailColumns(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

} // namespace AppDialogs
