#include "QuickExit.h"

#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

int QuickExit::AfterOutput(int code)
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return code;
#ifdef Q_OS_UNIX
    // Closing the descriptor reports what only the close can (a full disk on a network file
    // system); the stream's buffer is empty, so nothing writes to it afterwards.
    if (::close(STDOUT_FILENO) != 0)
        return code;
#endif
    std::fflush(stderr);
    std::_Exit(code);
}
