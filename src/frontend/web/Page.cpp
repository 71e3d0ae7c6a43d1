#include "frontend/web/Page.h"

#include <cstdlib>
#include <memory>

namespace kelvrast::page {

std::u16string takeText() {
    const std::unique_ptr<char16_t, decltype(&std::free)> text(kelvrast_page_take_text(), &std::free);
    return text ? std::u16string(text.get()) : std::u16string();
}

} // namespace kelvrast::page
