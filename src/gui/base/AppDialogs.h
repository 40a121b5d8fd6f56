#pragma once
// Every message box and file dialog of the application goes through here, so that
//  - questions carry the application title as their caption unless told otherwise,
//  - the error display of the whole program looks the same wherever the error came from,
//  - tests can answer boxes and dialogs without anything modal appearing (SetMessageHook,
//    SetFileDialogHook); the program itself never installs a hook.
#include <QList>
#include <QMessageBox>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace AppDialogs {

// "Тарвел": the application title, also the caption of questions.
QString AppTitle();

struct MessageRequest {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    int helpTopic = 0;   // > 0: the box has a Help button opening this topic
    // Captions instead of the toolkit's, for an answer no standard caption names.
    QList<QPair<QMessageBox::StandardButton, QString>> buttonTexts;
    // The answer of Escape and of the close box; without one Cancel, else No, else Ok.
    QMessageBox::StandardButton escapeButton = QMessageBox::NoButton;
};
using MessageHook = std::function<QMessageBox::StandardButton(const MessageRequest &)>;

// Installs (or, with an empty function, removes) the hook that answers boxes instead of the user.
void SetMessageHook(MessageHook hook);

// Shows a modal box and returns the button pressed (never Help: Help opens the topic and the
// box asks again).
QMessageBox::StandardButton ShowMessageBox(QWidget *parent, const MessageRequest &request);

// Question box with the question icon; an empty caption means the application title.
QMessageBox::StandardButton AskQuestion(QWidget *parent, const QString &text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton,
                                        const QString &caption = QString(), int helpTopic = 0);
void ShowInformation(QWidget *parent, const QString &text, const QString &caption = QString());
// The application's error display: error icon, the message, OK.
void ShowError(QWidget *parent, const QString &text);

struct FileDialogRequest {
    bool save = false;
    bool multiple = false;
    bool folder = false;    // an existing folder is chosen instead of files
    QString title;
    QString filter;         // Qt form, e.g. "Файлы данных (*.mdf)"
    QString defaultSuffix;  // without the dot; a filter of one extension chosen gives its own
    QString directory;
    QString fileName;       // proposed file (save) or pre-selected file
};
// Returns the chosen paths, empty when cancelled.
using FileDialogHook = std::function<QStringList(const FileDialogRequest &)>;
void SetFileDialogHook(FileDialogHook hook);
QStringList RunFileDialog(QWidget *parent, const FileDialogRequest &request);

} // namespace AppDialogs
