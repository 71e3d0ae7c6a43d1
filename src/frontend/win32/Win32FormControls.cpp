#include "frontend/win32/Win32FormControls.h"

#include "frontend/win32/WideText.h"
#include "frontend/win32/Win32BoxKeys.h"
#include "frontend/win32/Win32Controls.h"
#include "frontend/win32/Win32Dpi.h"

#include <stdexcept>

namespace kelvrast {

using form::Control;
using form::Kind;

Win32FormControls::Win32FormControls(HWND window, int firstId, UINT dpi, Win32Focus& focus, bool startUpOnly)
    : window_(window), firstId_(firstId), dpi_(dpi), focus_(focus) {
    const auto table = form::controls();
    controls_.assign(table.size(), nullptr);
    for (std::size_t row = 0; row < table.size(); ++row)
        if (!startUpOnly || table[row].kind == Kind::pictureBox || table[row].kind == Kind::timer)
            create(row);
    if (!picture1_ || !picture2_ || !pendulumTimer_)
        throw std::logic_error("the form has no Picture1, Picture2 or pendulum timer");
    applyFonts();
}

Win32FormControls::~Win32FormControls() {
    releaseBeforeTheWindow();
}

void Win32FormControls::releaseBeforeTheWindow() {
    pendulumTimer_.reset();
    picture1_.reset();
    picture2_.reset();
    if (tooltips_)
        ::DestroyWindow(tooltips_);
    tooltips_ = nullptr;
}

void Win32FormControls::create(std::size_t row) {
    const Control& each = form::controls()[row];
    const int id = firstId_ + static_cast<int>(row);
    HWND made = nullptr;
    if (each.kind == Kind::timer) {
        // No window: its ticks come to the form's window as WM_TIMER with the timer's id.
        pendulumTimer_ = std::make_unique<Win32Timer>(window_, id, form::pendulumTimerMilliseconds);
        return;
    }
    if (each.kind == Kind::pictureBox) {
        auto box = std::make_unique<Win32PictureBox>(window_, id, wideText(each.spokenName()).c_str(),
                                                     placeAt(each.place, dpi_));
        made = box->handle();
        (&each == &form::control(form::picture1) ? picture1_ : picture2_) = std::move(box);
    } else {
        made = createSystemControl(window_, each, id);
        if (each.kind == Kind::textBox)
            keepKeysToTheForm(made, focus_);
    }
    nameForScreenReaders(window_, made, each);
    controls_[row] = made;
}

void Win32FormControls::finish() {
    const auto table = form::controls();
    std::vector<bool> madeEarlier(controls_.size());
    bool madeNow = false;
    for (std::size_t row = 0; row < table.size(); ++row) {
        madeEarlier[row] = controls_[row] != nullptr;
        if (!madeEarlier[row] && table[row].kind != Kind::timer) {
            create(row);
            madeNow = true;
        }
    }
    if (madeNow)
        stackInTableOrder(controls_, madeEarlier);
    layOut();
    applyFonts();
    addTooltips(window_, controls_, tooltips_);
    setTabStops();
    finished_ = true;
}

void Win32FormControls::applyDpi(UINT dpi) {
    dpi_ = dpi;
    layOut();
    applyFonts();
}

HWND Win32FormControls::control(std::string_view objectName) const {
    const auto table = form::controls();
    for (std::size_t i = 0; i < table.size() && i < controls_.size(); ++i)
        if (table[i].objectName() == objectName)
            return controls_[i];
    return nullptr;
}

HWND Win32FormControls::control(form::ControlHandle handle) const {
    return handle.row < controls_.size() ? controls_[handle.row] : nullptr;
}

void Win32FormControls::layOut() {
    const auto table = form::controls();
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (!controls_[i])
            continue;
        const RECT place = placeAt(table[i].place, dpi_);
        ::SetWindowPos(controls_[i], nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The new fonts are in place before the old ones go. Captions are measured at the controls' places, so they are
// laid out first.
void Win32FormControls::applyFonts() {
    auto fonts = std::make_unique<CaptionFonts>(dpi_);
    fonts->applyTo(controls_);
    fonts_ = std::move(fonts);
}

void Win32FormControls::setTabStops() {
    const auto table = form::controls();
    std::vector<HWND> stops;
    for (const Control* each : form::tabOrder())
        stops.push_back(controls_[static_cast<std::size_t>(each - table.data())]);
    focus_.setTabStops(std::move(stops));
}

} // namespace kelvrast
