#pragma once
// The program's own exception: a file or a request is unusable. The message is
// the text the player sees in the error box.

#include <stdexcept>
#include <string>

namespace tb {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

} // namespace tb
