// Show edit: a command added to one robot's script in a show's text, the text around it kept as
// it was written (its comments, blank lines and order). Pure; the page's Show panel adds the
// selected robot's pose to the text being edited with it.
#pragma once

#include <string>
#include <string_view>

// The text with `command` as a line of its own at the end of robot's section (the lines from its
// `robot N` line to the next robot's line): after the section's last line that holds more than a
// comment. Where the text has no `robot N` line, one is added at the end, and the command after
// it. robot counts from 1; the text need not be a show that reads.
std::string withCommandAdded(std::string_view text, int robot, std::string_view command);
