#pragma once
// The part of a Multilex answer text that goes into the information page.

#include <string>

namespace dialogserver::dialogs {

// What lies between the first "<html>" and the next "</html>" after it (or the end of the text);
// the whole text when it has no "<html>". The markers match exactly, letter case included.
std::u16string AnswerMarkup(const std::u16string& text);

}  // namespace dialogserver::dialogs
