#include "app/display_loss.h"

#include <X11/Xlib.h>
#include <csignal>
#include <unistd.h>

namespace {

int onDisplayLost(Display* /*display*/) {
    static const char message[] = "display connection lost\n";
    // Only async-signal-safe calls: the driver may hold its locks when the connection breaks.
    const ssize_t written = write(STDERR_FILENO, message, sizeof message - 1);
    (void)written;
    _exit(1);
}

} // namespace

void endOnDisplayLoss() {
    // A write to a server that has gone would otherwise kill the program with SIGPIPE before
    // Xlib sees the broken connection and calls the handler.
    std::signal(SIGPIPE, SIG_IGN);
    XSetIOErrorHandler(onDisplayLost);
}
