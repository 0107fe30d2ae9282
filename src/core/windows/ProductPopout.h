#pragma once
// The product pop-out: a small window that presents one tool with its picture, name, category
// and texts, built from its own layout.
#include <cstdint>

namespace mvk::gui {
class Component;
}

namespace mvk::qvn::core {

class Tool;

class ProductPopout {
public:
    // Component ids of the layout.
    static constexpr int32_t Picture = 101;
    static constexpr int32_t Name = 102;
    static constexpr int32_t Category = 103;
    static constexpr int32_t Description = 104;
    static constexpr int32_t FurtherText = 105;

    // The pop-out of `tool`, hidden; the caller owns it and destroys it with destroy(). Null
    // when the layout cannot be read.
    static gui::Component* build(const Tool& tool);
};

} // namespace mvk::qvn::core
