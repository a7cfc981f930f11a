#include "platform/Terminal.h"

#include <QtGlobal>

#if defined(Q_OS_WIN)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace portiqa::platform {

bool standardErrorIsTerminal() {
#if defined(Q_OS_WIN)
    return _isatty(2) != 0;
#else
    return isatty(STDERR_FILENO) != 0;
#endif
}

} // namespace portiqa::platform
