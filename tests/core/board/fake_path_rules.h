#pragma once
// Path rules for native tests: ASCII lower-casing and a table of the
// folders that "exist" with their canonical paths.

#include <map>

#include "core/base/ascii.h"
#include "core/board/board_names.h"

namespace glimmerly::testing {

struct FakePathRules : PathRules {
    std::map<std::u16string, std::u16string> folders;

    std::u16string lower_case(std::u16string_view text) const override {
        std::u16string lower(text);
        for (char16_t& c : lower) c = ascii_lower(c);
        return lower;
    }
    std::optional<std::u16string> canonical_folder(std::u16string_view folder) const override {
        const auto found = folders.find(std::u16string(folder));
        if (found == folders.end()) return std::nullopt;
        return found->second;
    }
};

}  // namespace glimmerly::testing
