#include "choreography/show_text.h"

#include <algorithm>
#include <cstddef>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
// Far past any value a show can hold, and far from overflowing a long long.
constexpr long long TENTHS_CEILING = 1'000'000'000'000LL;
constexpr int SHOWN_TOKEN_CHARACTERS = 40;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0u) == 0x80u;
}
} // namespace

bool ShowLines::next(ShowLine& line) {
    if (start_ >= text_.size()) {
        return false;
    }
    std::size_t end = text_.find('\n', start_);
    const std::size_t next = end == std::string_view::npos ? text_.size() : end + 1;
    if (end == std::string_view::npos) {
        end = text_.size();
    }
    if (end > start_ && text_[end - 1] == '\r') {
        end -= 1;
    }
    number_ += 1;
    line = {number_, text_.substr(start_, end - start_)};
    start_ = next;
    return true;
}

ShowLine ShowLines::end() const {
    const bool endsInLineEnd = text_.empty() || text_.back() == '\n';
    std::size_t lineEnds = static_cast<std::size_t>(std::count(text_.begin(), text_.end(), '\n'));
    return {static_cast<int>(lineEnds) + 1,
            endsInLineEnd ? std::string_view() : text_.substr(text_.rfind('\n') + 1)};
}

bool Tokens::next(Token& token) {
    while (at_ < line_.size() && isBlank(line_[at_])) {
        at_ += 1;
    }
    if (at_ >= line_.size() || line_[at_] == '#') {
        at_ = line_.size();
        return false;
    }
    const std::size_t start = at_;
    while (at_ < line_.size() && !isBlank(line_[at_]) && line_[at_] != '#') {
        at_ += 1;
    }
    token = {line_.substr(start, at_ - start), start};
    return true;
}

Decimal parseDecimal(std::string_view token) {
    Decimal value = {false, true, 0};
    std::size_t at = 0;
    const bool negative = !token.empty() && token[0] == '-';
    at += negative ? 1 : 0;
    const std::size_t wholeStart = at;
    while (at < token.size() && isDigit(token[at])) {
        value.tenths = std::min(value.tenths * 10 + (token[at] - '0'), TENTHS_CEILING);
        at += 1;
    }
    if (at == wholeStart) {
        return value;
    }
    value.tenths *= 10;
    if (at < token.size() && token[at] == '.') {
        at += 1;
        const std::size_t fractionStart = at;
        while (at < token.size() && isDigit(token[at])) {
            if (at == fractionStart) {
                value.tenths += token[at] - '0';
            } else if (token[at] != '0') {
                value.exactTenths = false;
            }
            at += 1;
        }
        if (at == fractionStart) {
            return value;
        }
    }
    value.valid = at == token.size();
    value.tenths = negative ? -value.tenths : value.tenths;
    return value;
}

std::string tenthsText(long long tenths) {
    const long long size = tenths < 0 ? -tenths : tenths;
    std::string text = tenths < 0 ? "-" : "";
    text += std::to_string(size / 10);
    if (size % 10 != 0) {
        text += '.';
        text += static_cast<char>('0' + size % 10);
    }
    return text;
}

void appendNumber(std::string& out, float value) {
    const double wide = static_cast<double>(value);
    if (std::isfinite(wide) && std::fabs(wide) < 1e9) {
        const long long tenths = std::llround(wide * 10.0);
        if (static_cast<float>(tenths) / 10.0f == value) {
            out += tenthsText(tenths);
            return;
        }
    }
    char text[32];
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, wide);
        if (std::strtof(text, nullptr) == value) {
            break;
        }
    }
    out += text;
}

std::string tokenText(std::string_view token) {
    std::string text;
    int characters = 0;
    for (char c : token) {
        const auto byte = static_cast<unsigned char>(c);
        if (!isContinuation(byte) && ++characters > SHOWN_TOKEN_CHARACTERS) {
            return text + "...";
        }
        text += byte < 0x20u || byte == 0x7Fu ? '?' : c;
    }
    return text;
}

int columnAt(std::string_view line, std::size_t offset) {
    int column = 1;
    for (std::size_t k = 0; k < offset && k < line.size(); ++k) {
        column += isContinuation(static_cast<unsigned char>(line[k])) ? 0 : 1;
    }
    return column;
}

std::size_t firstNonUtf8(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80u) {
            at += 1;
            continue;
        }
        // The second byte's range rules out overlong forms, surrogates and values past U+10FFFF.
        std::size_t length = 0;
        unsigned char low = 0x80u;
        unsigned char high = 0xBFu;
        if (lead >= 0xC2u && lead <= 0xDFu) {
            length = 2;
        } else if (lead >= 0xE0u && lead <= 0xEFu) {
            length = 3;
            low = lead == 0xE0u ? 0xA0u : 0x80u;
            high = lead == 0xEDu ? 0x9Fu : 0xBFu;
        } else if (lead >= 0xF0u && lead <= 0xF4u) {
            length = 4;
            low = lead == 0xF0u ? 0x90u : 0x80u;
            high = lead == 0xF4u ? 0x8Fu : 0xBFu;
        } else {
            return at;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if (at + k >= text.size()) {
                return at;
            }
            const auto byte = static_cast<unsigned char>(text[at + k]);
            const bool inRange = k == 1 ? byte >= low && byte <= high : isContinuation(byte);
            if (!inRange) {
                return at;
            }
        }
        at += length;
    }
    return std::string_view::npos;
}

ShowLine lineAround(std::string_view text, std::size_t offset) {
    const std::size_t start = offset == 0 ? 0 : text.rfind('\n', offset - 1) + 1;
    std::size_t end = std::min(text.find('\n', offset), text.size());
    if (end > start && text[end - 1] == '\r') {
        end -= 1;
    }
    const auto before =
        std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(start), '\n');
    return {static_cast<int>(before) + 1, text.substr(start, end - start)};
}

std::string_view skipByteOrderMark(std::string_view text) {
    constexpr std::string_view MARK = "\xEF\xBB\xBF";
    return text.substr(0, MARK.size()) == MARK ? text.substr(MARK.size()) : text;
}

std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const std::size_t change = diagonal + (a[i - 1] == b[j - 1] ? 0 : 1);
            row[j] = std::min({above + 1, row[j - 1] + 1, change});
            diagonal = above;
        }
    }
    return row[b.size()];
}
