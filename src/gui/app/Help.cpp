#include "app/Help.h"

#include <QApplication>
#include <QMessageBox>

void ShowHelpTopic(QWidget *parent, int topic)
{
    // No help viewer is bundled yet; say so rather than do nothing.
    QMessageBox::information(parent, QApplication::applicationDisplayName(),
                             QStringLiteral("Справка пока недоступна (раздел %1).").arg(topic));
}
