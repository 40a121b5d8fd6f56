#include "StartOptions.h"

#include "ShownText.h"
#include "app/TMainForm.h"

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifndef TARVEL_VERSION_MAJOR
#error "the project version comes from CMake"
#endif

namespace StartOptions {

namespace {

const char kUsageText[] =
    "Использование: tarvel [ФАЙЛ...]\n"
    "       tarvel -dde\n"
    "       tarvel --help | --version\n"
    "\n"
    "Тарвел — редактор сети горных выработок шахты (документы .mdf).\n"
    "\n"
    "  ФАЙЛ           открыть документ шахты: файл .mdf или файл с подписью документа\n"
    "                 шахты под любым другим именем; если редактор уже запущен,\n"
    "                 документы открываются в нём\n"
    "  -dde, /dde     не открывать файлы командной строки: их пришлют запросом\n"
    "  --             дальше только файлы, даже с «-» в начале имени\n"
    "  -h, --help     эта справка\n"
    "  -V, --version  версия программы\n"
    "\n"
    "Редактору нужен дисплей; без него он сообщает об этом и завершается с кодом 1.\n"
    "Документы без окна: tarvel-mdf. Руководство: F1 в редакторе, man tarvel.\n";

const char kNoDisplayText[] =
    "tarvel: нет дисплея: редактору нужен графический сеанс (DISPLAY или WAYLAND_DISPLAY); "
    "с документами без окна работает tarvel-mdf\n";

void write(FILE *stream, const char *text)
{
    std::fputs(text, stream);
    std::fflush(stream);
}

bool named(const char *variable)
{
    const char *value = std::getenv(variable);
    return value && *value;
}

QtMessageHandler previousHandler = nullptr;

// The toolkit ends with abort() and a paragraph on reinstalling when no platform starts.
void platformStartHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg) {
        write(stderr, kNoDisplayText);
        std::_Exit(kNoDisplay);
    }
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

int AnswerWithoutDisplay(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        if (std::strcmp(a, "--") == 0)
            break;
        if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
            write(stdout, kUsageText);
            return 0;
        }
        if (std::strcmp(a, "--version") == 0 || std::strcmp(a, "-V") == 0) {
            std::printf("tarvel (Тарвел) %d.%d.%d.%d\n", TARVEL_VERSION_MAJOR, TARVEL_VERSION_MINOR,
                        TARVEL_VERSION_PATCH, TARVEL_VERSION_TWEAK);
            std::fflush(stdout);
            return 0;
        }
    }
    return -1;
}

bool DisplayNamed(int argc, char *argv[])
{
    if (named("QT_QPA_PLATFORM") || named("DISPLAY") || named("WAYLAND_DISPLAY"))
        return true;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0)
            return true;
    write(stderr, kNoDisplayText);
    return false;
}

TPlatformStartGuard::TPlatformStartGuard()
{
    previousHandler = qInstallMessageHandler(platformStartHandler);
}

void TPlatformStartGuard::Release()
{
    if (m_active)
        qInstallMessageHandler(previousHandler);
    m_active = false;
}

QString UnknownOption(const QStringList &arguments)
{
    for (const QString &a : arguments) {
        if (a == QLatin1String("--"))
            break;
        if (a.size() > 1 && a.startsWith(u'-') && !TMainForm::IsDdeSwitch(a))
            return a;
    }
    return {};
}

int RefuseOption(const QString &option)
{
    const QByteArray line = QStringLiteral("tarvel: неизвестный ключ «%1»; справка: tarvel --help\n")
                                .arg(EscapedControls(option))
                                .toUtf8();
    write(stderr, line.constData());
    return kUsage;
}

} // namespace StartOptions
