#pragma once
// What the editor settles from its command line before it needs a display: --help and
// --version are answered on standard output and end the start; without a display the editor
// says so in one line and ends with exit code 1 instead of the toolkit's abort; an option it
// does not know ends it with the usage error 64. Files and the dde switch are the main
// window's (TMainForm::CommandLineDocuments).
#include <QString>
#include <QStringList>

namespace StartOptions {

inline constexpr int kNoDisplay = 1;
inline constexpr int kUsage = 64;

// The exit code when the command line asks only for help or the version, else -1.
int AnswerWithoutDisplay(int argc, char *argv[]);

// True when the toolkit has somewhere to show windows (a display, a Wayland socket, or a
// platform chosen on purpose); otherwise the one-line refusal is written.
bool DisplayNamed(int argc, char *argv[]);

// While the application object starts: a display named but out of reach ends the program with
// the same one line and exit code 1 instead of the toolkit's abort. Release (or the end of the
// guard) gives the toolkit's messages back their usual way once the application stands.
class TPlatformStartGuard {
public:
    TPlatformStartGuard();
    ~TPlatformStartGuard() { Release(); }
    void Release();
    TPlatformStartGuard(const TPlatformStartGuard &) = delete;
    TPlatformStartGuard &operator=(const TPlatformStartGuard &) = delete;

private:
    bool m_active = true;
};

// The first option of arguments (without the program name, the toolkit's own options already
// taken out) that the editor does not know, or empty.
QString UnknownOption(const QStringList &arguments);
// Writes the usage error for it; returns kUsage.
int RefuseOption(const QString &option);

} // namespace StartOptions
