#include "listing/listing_state.hpp"

namespace kiv {

ListingState& listingState() {
    static ListingState state;
    return state;
}

void resetListingState() {
    listingState() = ListingState{};
}

} // namespace kiv
