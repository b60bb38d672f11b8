#pragma once
// Range-checked arithmetic for the program's 8- and 16-bit counters: overflowing
// a counter is an error, never a silent wrap-around.

#include <limits>
#include <stdexcept>
#include <type_traits>

namespace tb {

template <typename T, typename U> T CheckedAdd(T value, U delta) {
    static_assert(std::is_integral_v<T> && std::is_integral_v<U>);
    const long long result = static_cast<long long>(value) + static_cast<long long>(delta);
    if (result > static_cast<long long>(std::numeric_limits<T>::max()))
        throw std::overflow_error("counter overflow");
    if (result < static_cast<long long>(std::numeric_limits<T>::min()))
        throw std::overflow_error("counter underflow");
    return static_cast<T>(result);
}

template <typename T, typename U> T CheckedSub(T value, U delta) {
    return CheckedAdd<T>(value, -static_cast<long long>(delta));
}

// Throws std::out_of_range unless lo <= value <= hi.
template <typename T> T CheckedIndex(T value, T lo, T hi, const char* what) {
    if (value < lo || value > hi) throw std::out_of_range(what);
    return value;
}

} // namespace tb
