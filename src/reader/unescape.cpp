#include "reader/unescape.hpp"

#include <array>

namespace kiv {

namespace {

struct Entity {
    std::string_view name; // with "&" and ";"
    char replacement;
};

constexpr std::array<Entity, 5> kEntities = {{
    {"&lt;", '<'},
    {"&gt;", '>'},
    {"&quot;", '"'},
    {"&apos;", '\''},
    {"&amp;", '&'},
}};

} // namespace

void unescapeInto(std::string_view text, std::string& out) {
    out.clear();
    unescapeAppend(text, out);
}

void unescapeAppend(std::string_view text, std::string& out) {
    std::size_t done = 0;
    for (std::size_t amp = text.find('&'); amp != std::string_view::npos;
         amp = text.find('&', amp + 1)) {
        const std::string_view rest = text.substr(amp);
        for (const Entity& entity : kEntities) {
            if (rest.starts_with(entity.name)) {
                out.append(text, done, amp - done);
                out += entity.replacement;
                done = amp + entity.name.size();
                amp = done - 1;
                break;
            }
        }
    }
    out.append(text, done, std::string_view::npos);
}

} // namespace kiv
