// Turns a reference page written in markdown into a man page, so that the page
// in docs/ and the installed man page are one text. It knows the markdown the
// pages use and nothing more:
//   # name(5): one-line summary     the title, the first line of the file
//   ## Heading / ### Heading        sections and subsections
//   paragraphs, "- " bullets and "1. " numbered items (continued by lines indented)
//   ``` fences (any info string)    shown as they stand, indented
//   <!-- ... -->                    left out (notes for tools, not for readers)
//   `code` and **bold** inside lines; [text](target) keeps the text
// Usage: md2man INPUT.md OUTPUT FOOTER   (FOOTER: the package and its version)

#include <cctype>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

namespace
{

// Text as roff shows it: backslashes doubled as \e, and a line that would
// start with a control character made plain.
std::string escaped(std::string_view text, bool code)
{
    std::string out;
    for (const char c : text)
    {
        if (c == '\\')
            out += "\\e";
        else if (c == '-' && code)
            out += "\\-";
        else
            out += c;
    }
    return out;
}

std::string lineStart(std::string text)
{
    return (!text.empty() && (text.front() == '.' || text.front() == '\'')) ? "\\&" + text : text;
}

// The inline forms: `code` and **bold** in bold, links as their text.
std::string inlineText(std::string_view text)
{
    std::string out;
    for (std::size_t at = 0; at < text.size();)
    {
        const std::size_t closing = text.find(text[at] == '`' ? "`" : "**", at + (text[at] == '`' ? 1 : 2));
        if ((text[at] == '`' || text.substr(at, 2) == "**") && closing != std::string_view::npos)
        {
            const std::size_t open = text[at] == '`' ? 1 : 2;
            out += "\\fB" + escaped(text.substr(at + open, closing - at - open), text[at] == '`') + "\\fR";
            at = closing + open;
            continue;
        }
        const std::size_t middle = text[at] == '[' ? text.find("](", at) : std::string_view::npos;
        const std::size_t end = middle == std::string_view::npos ? middle : text.find(')', middle);
        if (end != std::string_view::npos)
        {
            out += inlineText(text.substr(at + 1, middle - at - 1));
            at = end + 1;
            continue;
        }
        out += escaped(text.substr(at, 1), false);
        ++at;
    }
    return out;
}

std::string upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::cerr << "usage: md2man INPUT.md OUTPUT FOOTER\n";
        return 2;
    }
    std::ifstream input(argv[1]);
    std::string line;
    if (!input || !std::getline(input, line) || line.rfind("# ", 0) != 0 || line.find("): ") == line.npos)
    {
        std::cerr << "md2man: " << argv[1] << " does not start with '# name(section): summary'\n";
        return 1;
    }
    std::ostringstream out;
    const std::size_t paren = line.find('(');
    const std::string name = line.substr(2, paren - 2);
    const std::string section = line.substr(paren + 1, line.find(')') - paren - 1);
    out << ".TH " << upper(name) << ' ' << section << " \"\" \"" << argv[3] << "\" \"PSX pipeline tools\"\n"
        << ".SH NAME\n"
        << escaped(name, true) << " \\- " << inlineText(line.substr(line.find("): ") + 3)) << '\n';
    bool inFence = false, inComment = false, newParagraph = false;
    while (std::getline(input, line))
    {
        if (inComment || line.rfind("<!--", 0) == 0)
        {
            inComment = line.find("-->") == std::string::npos;
            continue;
        }
        if (line.rfind("```", 0) == 0)
        {
            out << (inFence ? ".fi\n.RE\n" : ".PP\n.RS 4\n.nf\n");
            inFence = !inFence;
            newParagraph = true;
            continue;
        }
        if (inFence)
            out << lineStart(escaped(line, true)) << '\n';
        else if (line.empty())
            newParagraph = true;
        else if (line.rfind("## ", 0) == 0)
            out << ".SH " << upper(inlineText(line.substr(3))) << '\n';
        else if (line.rfind("### ", 0) == 0)
            out << ".SS " << inlineText(line.substr(4)) << '\n';
        else if (line.rfind("- ", 0) == 0)
            out << ".IP \\(bu 2\n" << lineStart(inlineText(line.substr(2))) << '\n';
        else if (const std::size_t dot = line.find(". ");
                 dot != std::string::npos && dot > 0 && line.find_first_not_of("0123456789") == dot)
            out << ".IP " << line.substr(0, dot + 1) << " 4\n"
                << lineStart(inlineText(line.substr(dot + 2))) << '\n';
        else
        {
            const bool continued = line.rfind("  ", 0) == 0;
            if (newParagraph)
                out << (continued ? ".IP\n" : ".PP\n");
            out << lineStart(inlineText(line.substr(line.find_first_not_of(' ')))) << '\n';
        }
        if (!line.empty())
            newParagraph = false;
    }
    std::ofstream output(argv[2], std::ios::binary);
    output << out.str();
    if (inFence || inComment || !output.flush())
    {
        std::cerr << "md2man: " << (inFence || inComment ? "an unclosed fence or comment" : "cannot write")
                  << '\n';
        return 1;
    }
    return 0;
}
