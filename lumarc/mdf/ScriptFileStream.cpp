#include "ScriptFileStream.h"

#include <utility>

ScriptFileStream& ScriptFileStream::read16(int16_t& value)
{
    auto bits = static_cast<uint16_t>(value);
    read16(bits);
    value = static_cast<int16_t>(bits);
    return *this;
}

bool ScriptFileStream::require(uint64_t bytes)
{
    if (m_failed)
        return false;
    if (bytes > remaining())
    {
        fail(kEndOfData);
        return false;
    }
    return true;
}

void ScriptFileStream::fail(std::string reason, uint64_t offset)
{
    if (m_failed)
        return;
    m_failed = true;
    m_failureReason = std::move(reason);
    m_failureOffset = offset;
}
