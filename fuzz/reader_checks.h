// Reader checks: what each reader of text from outside the program must keep, whatever the text.
// Pure. The fuzz targets trap on a broken one; reader_checks_test replays the seeds and the finds.
// Each returns "" when every property holds, else one line naming the one that broke:
// - text refused leaves the record it was given as it was, and says so in one nonempty line;
// - text read, written back out and read again, gives the same record, floats bit for bit.
#pragma once

#include <string>
#include <string_view>

// The place's text (a link's query, the place a page keeps): readPlaceQuery, then placeQuery
// and placeLine's options read back.
std::string checkPlaceQuery(std::string_view text);

// The command line: the text split at NUL bytes into the arguments after the program's name,
// through takeShowOptions, then placeLine's options read back.
std::string checkCommandLine(std::string_view text);

// A show file: readShow, then writeShow read back, and printed again byte for byte.
std::string checkShowFile(std::string_view text);
