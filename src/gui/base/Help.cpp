#include "base/Help.h"

#include "base/AppDialogs.h"
#include "base/THelpWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace {
const QString programHelp = QStringLiteral("Tarvelian");
const QString regulationsHelp = QStringLiteral("ustav97");

std::function<QString()> &helpDirSource()
{
    static std::function<QString()> source;
    return source;
}

struct SizeStore {
    std::function<QSize()> read;
    std::function<void(QSize)> write;
};

SizeStore &sizeStore()
{
    static SizeStore store;
    return store;
}

bool showIfThere(QWidget *parent, const QString &path)
{
    if (!QFileInfo(path).isFile())
        return false;
    THelpWindow::Instance()->ShowPage(path, parent);
    return true;
}

void reportMissing(QWidget *parent, const QString &path)
{
    AppDialogs::ShowInformation(parent, QStringLiteral("Файл справки не найден:\n%1").arg(QDir::toNativeSeparators(path)));
}
} // namespace

void SetHelpDirSource(std::function<QString()> source)
{
    helpDirSource() = std::move(source);
}

void SetHelpWindowSizeStore(std::function<QSize()> read, std::function<void(QSize)> write)
{
    sizeStore() = {std::move(read), std::move(write)};
}

QSize HelpWindowSize()
{
    return sizeStore().read ? sizeStore().read() : QSize();
}

void KeepHelpWindowSize(QSize size)
{
    if (sizeStore().write)
        sizeStore().write(size);
}

QString HelpFolder()
{
    QString dir = helpDirSource() ? helpDirSource()() : QString();
    if (dir.isEmpty())
        dir = QDir::currentPath() + QStringLiteral("/Help/");
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

QString HelpPagePath(const QString &helpFile, int topic)
{
    QString page;
    if (topic == 0)
        page = QStringLiteral("index.html");
    else if (topic < 0)
        page = QStringLiteral("help.html");
    else
        page = QStringLiteral("topic-%1.html").arg(topic);
    return HelpFolder() + helpFile + u'/' + page;
}

void ShowHelpPage(QWidget *parent, const QString &helpFile, int topic)
{
    const QString path = HelpPagePath(helpFile, topic);
    if (!showIfThere(parent, path))
        reportMissing(parent, path);
}

void ShowHelpTopic(QWidget *parent, int topic)
{
    ShowHelpPage(parent, programHelp, topic);
}

void ShowHelpNamed(QWidget *parent, const QString &page)
{
    const QString path = HelpFolder() + programHelp + u'/' + page;
    if (!showIfThere(parent, path))
        reportMissing(parent, path);
}

void ShowHelpContents(QWidget *parent)
{
    ShowHelpPage(parent, programHelp, 0);
}

void ShowRegulations(QWidget *parent)
{
    // The regulations are another publisher's: the program's help says where they go.
    const QString path = HelpPagePath(regulationsHelp, 1);
    if (!showIfThere(parent, path) && !showIfThere(parent, HelpFolder() + programHelp + QStringLiteral("/ustav97.html")))
        reportMissing(parent, path);
}

void ShowHelpOnHelp(QWidget *parent)
{
    ShowHelpPage(parent, programHelp, -1);
}

namespace {
template <class Show>
void installHelpKey(QWidget *window, Show show)
{
    auto *key = new QShortcut(QKeySequence(Qt::Key_F1), window);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, window, show);
}
} // namespace

void InstallHelpKey(QWidget *window, int topic)
{
    installHelpKey(window, [window, topic] { ShowHelpTopic(window, topic); });
}

void InstallHelpKey(QWidget *window, const QString &page)
{
    installHelpKey(window, [window, page] { ShowHelpNamed(window, page); });
}
