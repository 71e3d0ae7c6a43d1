#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The page that shows the window, as the program in its worker reaches it (page.js): every call posts a message to
// the page, and the two that wait for the page suspend the program until it answers. Texts go as UTF-16 with a
// terminating zero.
extern "C" {
// The next event of the page's queue, once one has come; what kind it is (page::Event) and the row or timer it
// concerns.
int kelvrast_page_next_event();
int kelvrast_page_event_row();
// The text that came with the last event or dialog answer, as a buffer the caller frees.
char16_t* kelvrast_page_take_text();
// Marks the last event handled: what was drawn meanwhile goes to the page with it.
void kelvrast_page_event_handled();

// The form's client area and the picture boxes' border, then every row of its table, in CSS pixels at zoom 100 %.
void kelvrast_page_form_size(int width, int height, int pictureBorder);
void kelvrast_page_add_control(int row, const char* objectName, const char* kind, const char16_t* caption, int left,
                               int top, int width, int height, int tabIndex, int multiLine, int largeFont,
                               const char16_t* spokenName, int narrow, int shrinksToFit);
void kelvrast_page_show_form();
// Where the student's files are, from the origin's root, for the page's downloads and copies.
void kelvrast_page_student_files(const char16_t* send, const char16_t* notes, const char16_t* master);
void kelvrast_page_program_ended(int status);

void kelvrast_page_set_text(int row, const char16_t* text, int undoable);
void kelvrast_page_circle(int row, double centreX, double centreY, double radius);
void kelvrast_page_beep();
void kelvrast_page_set_timer(int timer, int milliseconds, int enabled);
// Shows a dialog of this kind ("input", "message" or "choice") and waits for the answer: 1 for the first button, 0
// for the second.
int kelvrast_page_dialog(const char* kind, const char16_t* text, const char16_t* first, const char16_t* second);
}

namespace kelvrast::page {

// What kelvrast_page_next_event gives.
enum class Event {
    click = 1,   // a button of the form: its row
    changed = 2, // a text box's text changed: its row, the whole text
    tick = 3,    // a timer fell due: the timer
    hidden = 4,  // the page was hidden or left, and may not come back
};

// kelvrast_page_take_text's text.
std::u16string takeText();

} // namespace kelvrast::page
