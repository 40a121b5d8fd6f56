#pragma once
// "О программе": the program's icon, what the program is and which build it is. The version
// comes from the project version set in CMake.
#include <QDialog>

class QLabel;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    static constexpr int LogoSize = 64;
    static constexpr char HelpPage[] = "about.html";

    explicit TAboutBox(QWidget *parent = nullptr);

    // "Версия 1.0 (Сборка 1.0.0.1)"
    static QString VersionText();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_logo = nullptr;
};
