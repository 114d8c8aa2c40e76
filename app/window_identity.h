// Window identity: what a desktop reads to tie the running window to the program's menu entry
// and icon (a dock groups them by class), and the title as UTF-8 for panels and task bars.
// Set once by the shell, right after the toolkit has made the main window.
#pragma once

// Names the current window: class "Cheerleaders", instance "cheerleaders", and `title`.
void nameMainWindow(const char* title);
