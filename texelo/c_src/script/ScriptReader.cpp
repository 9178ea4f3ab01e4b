#include "script/ScriptReader.h"

#include <cctype>

namespace
{
constexpr int kEnd = -1;

char upper(int c)
{
    return static_cast<char>(std::toupper(c));
}

void appendLimited(std::string& text, char c)
{
    if (text.size() < ScriptReader::kMaxText)
        text.push_back(c);
}

std::string normaliseLineEnds(std::string text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            result.push_back(text[i]);
    return result;
}
} // namespace

ScriptReader::ScriptReader(std::string text) : m_text(normaliseLineEnds(std::move(text))) {}

int ScriptReader::peek() const
{
    return m_position < m_text.size() ? static_cast<unsigned char>(m_text[m_position]) : kEnd;
}

int ScriptReader::get()
{
    const int c = peek();
    if (c != kEnd)
        ++m_position;
    return c;
}

bool ScriptReader::readLine()
{
    if (atEnd())
        return false;
    const std::size_t lineStart = m_position;
    // A comment may end at a lone CR, which editors do not count as a line
    // break; counting LFs keeps the numbers the ones an editor shows.
    for (; m_counted < lineStart; ++m_counted)
        m_lineNumber += m_text[m_counted] == '\n' ? 1 : 0;
    m_line.clear();
    m_keyword.clear();

    const int first = peek();
    m_comment = first == '#' || first == '*' || first == ';';
    if (m_comment)
    {
        int c = get();
        while (c != '\n' && c != '\r' && c != kEnd)
            c = get();
        return true;
    }

    int c = get();
    while (c != ':' && c != '\n' && c != kEnd)
    {
        if (c != ' ' && c != '\t')
            appendLimited(m_keyword, upper(c));
        c = get();
    }
    if (c == ':')
    {
        m_argument.clear();
        while (peek() == ' ' || peek() == '\t')
            get();
        for (c = get(); c != '\n' && c != kEnd; c = get())
            appendLimited(m_argument, upper(c));
    }

    for (std::size_t i = lineStart; i < m_text.size() && m_text[i] != '\n' && m_text[i] != '\r'; ++i)
        appendLimited(m_line, m_text[i]);
    return true;
}
