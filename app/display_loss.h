// Display loss: when the connection to the X server breaks (the server ends or the link goes),
// the program ends at once with status 1 instead of running the usual exit path, whose clean-up
// in the GL driver can wait forever on the driver's own rendering threads. SIGPIPE is ignored, so
// that a write to a server that has gone ends the same way. On Windows the window
// system is no connection that can break, and nothing is installed.
#pragma once

// Installs the handler; call once, after glutInit.
void endOnDisplayLoss();
