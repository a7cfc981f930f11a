#pragma once

// Whether a standard stream is a terminal, so a command can draw a live progress bar there and
// write plain lines into a log file or a pipe.

namespace portiqa::platform {

bool standardErrorIsTerminal();

} // namespace portiqa::platform
