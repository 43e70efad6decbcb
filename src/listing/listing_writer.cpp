#include "listing/listing_writer.hpp"

#include "model/coverage.hpp"

namespace kiv {

void writeListing(const Coverage&, std::ostream&) {}

} // namespace kiv
