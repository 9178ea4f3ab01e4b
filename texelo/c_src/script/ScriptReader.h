#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Reads a script line by line the way scripts have always been read:
//   - a line whose very first character is '#', '*' or ';' is a comment;
//   - the keyword runs up to ':' or the line end, blanks dropped wherever
//     they stand, upper-cased;
//   - after ':' the argument is the rest of the line, leading blanks
//     skipped, upper-cased; a line without ':' keeps the previous argument;
//   - the whole line is also kept as written (cell lines need it).
// CR LF line ends read as LF, as a text-mode read would give them. Keywords,
// arguments and lines are cut to 511 characters.
class ScriptReader
{
public:
    static constexpr std::size_t kMaxText = 511;

    explicit ScriptReader(std::string text);

    // True when the script has no more lines.
    [[nodiscard]] bool atEnd() const { return m_position >= m_text.size(); }

    // Reads the next line; false at the end of the script.
    bool readLine();

    [[nodiscard]] bool isComment() const { return m_comment; }
    [[nodiscard]] const std::string& keyword() const { return m_keyword; }
    [[nodiscard]] const std::string& argument() const { return m_argument; }
    [[nodiscard]] const std::string& line() const { return m_line; }
    // The number of the line read last, counted from 1 as editors count.
    [[nodiscard]] unsigned lineNumber() const { return m_lineNumber; }

private:
    [[nodiscard]] int peek() const;
    int get();

    std::string m_text;
    std::size_t m_position = 0;
    std::size_t m_counted = 0; // line breaks before this position are in m_lineNumber
    unsigned m_lineNumber = 1;
    bool m_comment = false;
    std::string m_keyword;
    std::string m_argument;
    std::string m_line;
};
