// The manual against the code: every help topic a window opens has its page, every link of the
// pages leads to a page (and an anchor) that exists, every page can be reached from the contents,
// and the build holds the same pages as help/ru.
//
// Topics are read from the widgets' sources as Help.h asks them to be written: a number given to
// ShowHelpTopic or InstallHelpKey, or a constant whose name holds "Help" given a number; pages by
// name likewise, a string given to ShowHelpNamed or InstallHelpKey, or a constant whose name
// holds "HelpPage". A source that asks for help but yields no topic or page this way fails the
// test, so that no window escapes it.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

namespace {

const QString kSource = QStringLiteral(TARVEL_SOURCE_DIR);
const QString kPages = kSource + QStringLiteral("/help/ru");
const QString kBuilt = QStringLiteral(TARVEL_BIN_DIR) + QStringLiteral("/Help/Tarvelian");

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Comments hold examples ("HelpContext = 12") that no window opens.
QString withoutComments(QString code)
{
    static const QRegularExpression comments(QStringLiteral(R"(//[^\n]*|/\*.*?\*/)"),
                                             QRegularExpression::DotMatchesEverythingOption);
    return code.remove(comments);
}

// The pages a source opens by name.
QStringList pagesIn(const QString &code)
{
    static const QRegularExpression patterns[] = {
        // (QLatin1String, not the QStringLiteral macro: the unmatched parenthesis of the pattern
        // would end the macro's argument for moc.)
        QRegularExpression(QLatin1String(R"re(\b\w*HelpPage\w*\s*(?:\[\])?\s*=\s*"([^"]+)")re")),
        QRegularExpression(QLatin1String(R"re(\b(?:ShowHelpNamed|InstallHelpKey)\s*\([^,()]+,\s*(?:QStringLiteral\()?"([^"]+)")re")),
    };
    QStringList pages;
    for (const QRegularExpression &re : patterns)
        for (auto it = re.globalMatch(code); it.hasNext();)
            pages << it.next().captured(1);
    return pages;
}

QList<int> topicsIn(const QString &code)
{
    static const QRegularExpression patterns[] = {
        QRegularExpression(QStringLiteral(R"(\b\w*Help\w*\s*=\s*(\d+)\b)"), QRegularExpression::CaseInsensitiveOption),
        QRegularExpression(QStringLiteral(R"(\bShowHelpTopic\s*\(\s*(?:[^,()]+,\s*)?(\d+)\s*\))")),
        QRegularExpression(QStringLiteral(R"(\bInstallHelpKey\s*\([^,()]+,\s*(\d+)\s*\))")),
    };
    QList<int> topics;
    for (const QRegularExpression &re : patterns)
        for (auto it = re.globalMatch(code); it.hasNext();)
            if (const int t = it.next().captured(1).toInt(); t > 0)   // 0 is the contents, no topic
                topics << t;
    return topics;
}

bool asksForHelp(const QString &code)
{
    static const QRegularExpression asks(
        QStringLiteral(R"(\bShowHelpTopic\s*\(|\bShowHelpNamed\s*\(|\bInstallHelpKey\s*\(|\bhelpTopic\b|"&Помощь"|"&Справка")"));
    return asks.match(code).hasMatch();
}

QStringList pageFiles(const QString &root, const QStringList &filters)
{
    QStringList files;
    for (QDirIterator it(root, filters, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

struct Link {
    QString target;   // page path relative to help/ru, empty for a link inside the page
    QString anchor;
};

} // namespace

class tst_HelpPages : public QObject {
    Q_OBJECT

private slots:
    void everyTopicTheCodeOpensHasItsPage();
    void linksLeadToPagesAndAnchors();
    void everyPageIsReachedFromTheContents();
    void theBuildHoldsThePages();
};

void tst_HelpPages::everyTopicTheCodeOpensHasItsPage()
{
    // Sources by stem, so that a form's header and its .cpp count as one.
    QMap<QString, QList<int>> topicsByStem;
    QMap<QString, QStringList> pagesByStem;
    QMap<QString, QString> askingFile;
    for (QDirIterator it(kSource + QStringLiteral("/src/gui"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                         QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next();
        const QFileInfo info(path);
        // The help's own plumbing passes topics through, it opens none of its own.
        if (info.dir().dirName() == QLatin1String("base")
            && QStringList{"Help", "THelpWindow", "AppDialogs"}.contains(info.completeBaseName()))
            continue;
        // Nor does the scheme windows' button column: each window connects its Help button.
        if (info.completeBaseName() == QLatin1String("SchemeButtons"))
            continue;
        const QString code = withoutComments(QString::fromUtf8(readAll(path)));
        const QString stem = info.dir().path() + u'/' + info.completeBaseName();
        topicsByStem[stem] += topicsIn(code);
        pagesByStem[stem] += pagesIn(code);
        if (asksForHelp(code))
            askingFile.insert(stem, QDir(kSource).relativeFilePath(path));
    }

    for (auto it = askingFile.cbegin(); it != askingFile.cend(); ++it)
        QVERIFY2(!topicsByStem.value(it.key()).isEmpty() || !pagesByStem.value(it.key()).isEmpty(),
                 qPrintable(it.value() + QStringLiteral(" asks for help, but its topic cannot be read: "
                                                        "give it as Help.h says")));

    QSet<int> topics;
    for (const QList<int> &list : std::as_const(topicsByStem))
        for (int t : list)
            topics.insert(t);
    // The windows on main today open at least the main window's and the menus' topics.
    QVERIFY(topics.contains(5) && topics.contains(6));

    QStringList missing;
    for (int t : std::as_const(topics))
        if (!QFileInfo::exists(kPages + QStringLiteral("/topic-%1.html").arg(t)))
            missing << QStringLiteral("topic-%1.html").arg(t);
    QSet<QString> pages;
    for (const QStringList &list : std::as_const(pagesByStem))
        for (const QString &page : list)
            pages.insert(page);
    // The windows without a topic number open theirs by name.
    QVERIFY(pages.contains(QStringLiteral("find.html")) && pages.contains(QStringLiteral("about.html")));
    for (const QString &page : std::as_const(pages))
        if (!QFileInfo::exists(kPages + u'/' + page))
            missing << page;
    // The requests of the help menu.
    for (const char *page : {"index.html", "help.html", "ustav97.html"})
        if (!QFileInfo::exists(kPages + u'/' + QLatin1String(page)))
            missing << QLatin1String(page);
    missing.sort();
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("help/ru lacks ") + missing.join(QStringLiteral(", "))));
}

namespace {

QList<Link> linksOf(const QString &page, QString *title, QSet<QString> *anchors)
{
    const QString html = QString::fromUtf8(readAll(kPages + u'/' + page));
    static const QRegularExpression titleRe(QStringLiteral("<title>([^<]*)</title>"));
    *title = titleRe.match(html).captured(1).trimmed();
    static const QRegularExpression anchorRe(QStringLiteral(R"re(\b(?:id|name)\s*=\s*"([^"]+)")re"));
    for (auto it = anchorRe.globalMatch(html); it.hasNext();)
        anchors->insert(it.next().captured(1));
    static const QRegularExpression linkRe(QStringLiteral(R"re(\b(?:href|src)\s*=\s*"([^"]*)")re"));
    QList<Link> links;
    for (auto it = linkRe.globalMatch(html); it.hasNext();) {
        const QString ref = it.next().captured(1);
        if (ref.startsWith(QLatin1String("http:")) || ref.startsWith(QLatin1String("https:"))
            || ref.startsWith(QLatin1String("mailto:")))
            continue;
        const qsizetype hash = ref.indexOf(u'#');
        const QString file = hash < 0 ? ref : ref.left(hash);
        Link link{file.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(page).path() + u'/' + file),
                  hash < 0 ? QString() : ref.mid(hash + 1)};
        links << link;
    }
    return links;
}

} // namespace

void tst_HelpPages::linksLeadToPagesAndAnchors()
{
    const QStringList pages = pageFiles(kPages, {QStringLiteral("*.html")});
    QVERIFY(pages.size() > 5);
    QMap<QString, QSet<QString>> anchors;
    QMap<QString, QList<Link>> links;
    for (const QString &page : pages) {
        QString title;
        links[page] = linksOf(page, &title, &anchors[page]);
        QVERIFY2(!title.isEmpty(), qPrintable(page + QStringLiteral(" has no <title> for the window caption")));
    }
    QStringList broken;
    for (auto it = links.cbegin(); it != links.cend(); ++it) {
        for (const Link &l : it.value()) {
            const QString target = l.target.isEmpty() ? it.key() : l.target;
            if (target.startsWith(QLatin1String("..")) || !QFileInfo::exists(kPages + u'/' + target))
                broken << it.key() + QStringLiteral(" -> ") + target;
            else if (!l.anchor.isEmpty() && target.endsWith(QLatin1String(".html"))
                     && !anchors.value(target).contains(l.anchor))
                broken << it.key() + QStringLiteral(" -> ") + target + u'#' + l.anchor;
        }
    }
    QVERIFY2(broken.isEmpty(), qPrintable(QStringLiteral("broken links: ") + broken.join(QStringLiteral("; "))));
}

void tst_HelpPages::everyPageIsReachedFromTheContents()
{
    QSet<QString> reached{QStringLiteral("index.html")};
    QStringList queue{QStringLiteral("index.html")};
    while (!queue.isEmpty()) {
        const QString page = queue.takeFirst();
        QString title;
        QSet<QString> anchors;
        for (const Link &l : linksOf(page, &title, &anchors))
            if (l.target.endsWith(QLatin1String(".html")) && !reached.contains(l.target)
                && QFileInfo::exists(kPages + u'/' + l.target)) {
                reached.insert(l.target);
                queue << l.target;
            }
    }
    QStringList orphans;
    for (const QString &page : pageFiles(kPages, {QStringLiteral("*.html")}))
        if (!reached.contains(page))
            orphans << page;
    QVERIFY2(orphans.isEmpty(), qPrintable(QStringLiteral("no way from the contents to ") + orphans.join(QStringLiteral(", "))));
}

void tst_HelpPages::theBuildHoldsThePages()
{
    const QStringList filters{QStringLiteral("*.html"), QStringLiteral("*.css"), QStringLiteral("*.png")};
    const QStringList files = pageFiles(kPages, filters);
    for (const QString &file : files)
        QVERIFY2(readAll(kBuilt + u'/' + file) == readAll(kPages + u'/' + file),
                 qPrintable(QStringLiteral("bin/Help/Tarvelian/") + file + QStringLiteral(" differs from help/ru")));
}

QTEST_GUILESS_MAIN(tst_HelpPages)
#include "tst_HelpPages.moc"
