#include "base/Help.h"

#include "base/AppDialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {
const QString programHelp = QStringLiteral("Tarvelian");

std::function<QString()> &helpDirSource()
{
    static std::function<QString()> source;
    return source;
}
} // namespace

void SetHelpDirSource(std::function<QString()> source)
{
    helpDirSource() = std::move(source);
}

QString HelpPagePath(const QString &helpFile, int topic)
{
    QString dir = helpDirSource() ? helpDirSource()() : QString();
    if (dir.isEmpty())
        dir = QDir::currentPath() + QStringLiteral("/Help/");
    if (!dir.endsWith(u'/'))
        dir += u'/';
    QString page;
    if (topic == 0)
        page = QStringLiteral("index.html");
    else if (topic < 0)
        page = QStringLiteral("help.html");
    else
        page = QStringLiteral("topic-%1.html").arg(topic);
    return dir + helpFile + u'/' + page;
}

void ShowHelpPage(QWidget *parent, const QString &helpFile, int topic)
{
    const QString path = HelpPagePath(helpFile, topic);
    if (QFileInfo::exists(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return;
    AppDialogs::ShowInformation(parent, QStringLiteral("Файл справки не найден:\n%1").arg(QDir::toNativeSeparators(path)));
}

void ShowHelpTopic(QWidget *parent, int topic)
{
    ShowHelpPage(parent, programHelp, topic);
}

void ShowHelpContents(QWidget *parent)
{
    ShowHelpPage(parent, programHelp, 0);
}

void ShowRegulations(QWidget *parent)
{
    ShowHelpPage(parent, QStringLiteral("ustav97"), 1);
}

void ShowHelpOnHelp(QWidget *parent)
{
    ShowHelpPage(parent, programHelp, -1);
}
