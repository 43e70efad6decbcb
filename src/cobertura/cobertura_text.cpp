#include "cobertura/cobertura_text.hpp"

#include <algorithm>

#include "listing/listing_output.hpp"

namespace kiv {

void appendXmlText(std::string& out, std::string_view latin1) {
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '&':
            out.append("&amp;");
            continue;
        case '<':
            out.append("&lt;");
            continue;
        case '>':
            out.append("&gt;");
            continue;
        case '"':
            out.append("&quot;");
            continue;
        case '\'':
            out.append("&apos;");
            continue;
        case '\t':
            out.append("&#9;");
            continue;
        case '\n':
            out.append("&#10;");
            continue;
        case '\r':
            out.append("&#13;");
            continue;
        default:
            break;
        }
        if (byte < 0x20) {
            out.append("\xEF\xBF\xBD"); // U+FFFD
        } else if (byte < 0x80) {
            out.push_back(c);
        } else {
            out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
}

std::uint16_t rateOf(std::uint64_t covered, std::uint64_t valid) {
    if (valid == 0 || covered >= valid) return kWholeRate;
    // covered < valid: the quotient has no integer part. Where the product
    // would overflow, the rounded-down divisor can make it look whole.
    return static_cast<std::uint16_t>(
        covered <= UINT64_MAX / 10000 ? covered * 10000 / valid
                                      : std::min<std::uint64_t>(covered / (valid / 10000), 9999));
}

void appendRate(std::string& out, std::uint16_t rate) {
    if (rate >= kWholeRate) {
        out.push_back('1');
        return;
    }
    if (rate == 0) {
        out.push_back('0');
        return;
    }
    std::uint64_t tenThousandths = rate;
    int places = 4;
    while (tenThousandths % 10 == 0) {
        tenThousandths /= 10;
        --places;
    }
    out.append("0.");
    std::string digits;
    appendNumber(digits, tenThousandths);
    out.append(static_cast<std::size_t>(places) - digits.size(), '0');
    out.append(digits);
}

} // namespace kiv
