#include "reader/directive.hpp"

#include "reader/numbers.hpp"

namespace kiv {

Directive parseDirective(std::string_view description) {
    constexpr auto npos = std::string_view::npos;
    Directive directive;
    const std::size_t blank = description.find(' ');
    if (blank != npos) {
        const std::string_view word = description.substr(blank + 1);
        directive.number = readUnsigned(word.substr(0, word.find(' ')));
    }
    const std::size_t open = description.find('"');
    if (open != npos) {
        const std::string_view rest = description.substr(open + 1);
        directive.name = rest.substr(0, rest.find('"'));
    }
    return directive;
}

} // namespace kiv
