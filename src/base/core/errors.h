#pragma once

#include <stdexcept>

namespace core {

// A failure inside the handling of a datagram. The dispatch catches it and shows its number;
// numbers follow Winsock's for socket failures and the classic run-time numbers otherwise.
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, const char *what) : std::runtime_error(what), m_number(number) {}
    int number() const { return m_number; }

private:
    int m_number;
};

namespace error_number {
constexpr int invalidCall = 5;
constexpr int outOfMemory = 7;
} // namespace error_number

} // namespace core
