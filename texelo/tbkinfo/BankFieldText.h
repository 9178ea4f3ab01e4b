#pragma once

// Small text helpers for damage and warning messages. They build strings by
// appending, which keeps g++'s optimiser from misjudging concatenations.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tbk
{

// The pieces joined, each a text or a number in decimal.
class MessageText
{
public:
    MessageText& operator<<(std::string_view text)
    {
        m_text.append(text);
        return *this;
    }
    MessageText& operator<<(uint64_t number)
    {
        m_text.append(std::to_string(number));
        return *this;
    }
    // Implicit, so a message can be built in place of a string argument.
    operator std::string() const { return m_text; }
    operator std::string_view() const { return m_text; }

private:
    std::string m_text;
};

// "0x" and eight hexadecimal digits.
[[nodiscard]] std::string hex32(uint32_t value);

} // namespace tbk
