#pragma once
// The button sets and answers of the message box, apart from the box itself,
// so that the game and the installer can ask their questions without
// knowing the window.

#include <cstdint>

namespace tb {

// Button sets (the `buttons` argument of Run).
enum TAlertButtons : std::uint8_t {
    AlertOK = 1,
    AlertYesNo = 2,
    AlertYesNoCancel = 3,
};

// Answers of Run.
enum TAlertResult : std::uint8_t {
    AnswerYes = 1, // also OK
    AnswerNo = 2,
    AnswerCancel = 3, // also any other way of closing the box
};

} // namespace tb
