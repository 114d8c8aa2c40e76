// Window identity: what a desktop reads to tie the running window to the program's menu entry
// and icon (a dock groups them by class), and the title as UTF-8 for panels and task bars.
// Set by the shell, right after the toolkit has made the main window; the title again whenever
// it says where the show is.
#pragma once

// Names the current window: class "Cheerleaders", instance "cheerleaders", and `title`.
void nameMainWindow(const char* title);

// Gives the current window this UTF-8 title, through the toolkit and where the desktop reads it.
void retitleMainWindow(const char* title);
