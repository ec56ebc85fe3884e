// Trovecart - where an entry stands in the shop tree.
#pragma once

// The root (the shop itself), a category, or a product of a category, by collection indexes.
struct TEntryPosition {
    int category = -1; // -1 for the root
    int product = -1;  // -1 for the root and for a category itself

    static TEntryPosition Root() { return {}; }
    static TEntryPosition Category(int category) { return {category, -1}; }
    static TEntryPosition Product(int category, int product) { return {category, product}; }

    bool IsRoot() const { return category < 0; }
    bool IsCategory() const { return category >= 0 && product < 0; }
    bool IsProduct() const { return category >= 0 && product >= 0; }
    bool operator==(const TEntryPosition&) const = default;
};
