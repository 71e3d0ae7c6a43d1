#include "frontend/web/WebDialogs.h"

#include "frontend/web/Page.h"

#include <string>

namespace kelvrast {
namespace {

bool show(const char* kind, std::u16string_view text, std::u16string_view first, std::u16string_view second) {
    const std::u16string shown(text), firstCaption(first), secondCaption(second);
    return kelvrast_page_dialog(kind, shown.c_str(), firstCaption.c_str(), secondCaption.c_str()) == 1;
}

} // namespace

std::u16string WebDialogs::inputText(std::u16string_view prompt) {
    if (!show("input", prompt, u"OK", u"Cancel"))
        return {};
    return page::takeText();
}

void WebDialogs::message(std::u16string_view text) {
    show("message", text, u"OK", u"");
}

bool WebDialogs::choose(std::u16string_view text, std::u16string_view first, std::u16string_view second) {
    return show("choice", text, first, second);
}

} // namespace kelvrast
