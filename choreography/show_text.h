// Show text: the plain-text mechanics under the show file: its lines and tokens, its decimal
// numbers held exactly in tenths, characters counted for a column, UTF-8 checked, and names
// compared for a suggestion. Pure; show_file reads and writes shows with it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// One line without its line end (LF or CRLF); number counts from 1.
struct ShowLine {
    int number;
    std::string_view text;
};

// The lines of a text in order, one pass.
class ShowLines {
  public:
    explicit ShowLines(std::string_view text) : text_(text) {}
    bool next(ShowLine& line);
    // Where the text ends: the start of the line after the last line end.
    ShowLine end() const;

  private:
    std::string_view text_;
    std::size_t start_ = 0;
    int number_ = 0;
};

// A word of a line and its byte offset in the line.
struct Token {
    std::string_view text;
    std::size_t offset;
};

// The words of a line, split at spaces and tabs, up to a `#` that starts a comment.
class Tokens {
  public:
    explicit Tokens(std::string_view line) : line_(line) {}
    bool next(Token& token);

  private:
    std::string_view line_;
    std::size_t at_ = 0;
};

// A token read as -?digits(.digits)?, nothing else. tenths is the value in tenths, toward zero,
// held at 10^12 at most; exactTenths says no digit past the first decimal is non-zero.
struct Decimal {
    bool valid;
    bool exactTenths;
    long long tenths;
};
Decimal parseDecimal(std::string_view token);

// Shortest text of a whole number of tenths: "3", "-0.5", "0.4".
std::string tenthsText(long long tenths);

// The text a show writes for a script value: tenthsText when the value is a whole number of
// tenths, else the shortest decimal that reads back to the same float.
void appendNumber(std::string& out, float value);

// A token as a refusal shows it: control characters as '?', and cut after 40 characters with
// "..." so that the refusal stays one short line.
std::string tokenText(std::string_view token);

// The column of a byte offset in a line: characters before it, plus one.
int columnAt(std::string_view line, std::size_t offset);

// The offset of the first byte that does not belong to well-formed UTF-8, or npos.
std::size_t firstNonUtf8(std::string_view text);

// The line holding the byte at offset (offset less than the text's size).
ShowLine lineAround(std::string_view text, std::size_t offset);

// The text without a leading UTF-8 byte order mark, which some editors write.
std::string_view skipByteOrderMark(std::string_view text);

// Levenshtein distance; time |a| times |b|, room |b|.
std::size_t editDistance(std::string_view a, std::string_view b);
