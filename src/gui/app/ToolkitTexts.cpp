#include "app/ToolkitTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstring>

namespace {

struct TText {
    const char *context;
    const char *source;
    const char *russian;
};

// Texts of the toolkit missing from its Russian catalog, by the class that asks for them.
constexpr TText kMissing[] = {
    {"QAbstractFileIconProvider", "Folder", "Папка"},
    {"QAbstractFileIconProvider", "Drive", "Диск"},
    {"QAbstractFileIconProvider", "File", "Файл"},
    {"QAbstractFileIconProvider", "Shortcut", "Ярлык"},
    {"QAbstractFileIconProvider", "Unknown", "Неизвестно"},
};

class TMissingToolkitTexts : public QTranslator {
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (!context || !sourceText)
            return {};
        for (const TText &t : kMissing)
            if (std::strcmp(context, t.context) == 0 && std::strcmp(sourceText, t.source) == 0)
                return QString::fromUtf8(t.russian);
        return {};
    }
};

} // namespace

bool InstallToolkitTranslations(QCoreApplication *app)
{
    // The translator installed last is asked first: the catalog before these few.
    app->installTranslator(new TMissingToolkitTexts(app));
    auto *catalog = new QTranslator(app);
    if (!catalog->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete catalog;
        return false;
    }
    app->installTranslator(catalog);
    return true;
}
