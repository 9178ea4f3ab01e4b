// The front end of a build without Qt: reports go to the standard streams
// and there is no window to show.

#include "TexeloProgram.h"

namespace
{
class HeadlessFrontEnd final : public TexeloFrontEnd
{
public:
    TexeloReporter& reporter() override { return m_reporter; }
    void showWindow(const TexeloContext&, const std::string&) override {}
    std::optional<std::string> whyWindowIsUnseen() const override { return "this build has no window"; }
    void waitUntilClosed() override {}
    void closeWindow() override {}
    std::optional<std::string> saveMap(const TexeloContext&, const std::string&) override
    {
        return "this build has no window to draw it with";
    }

private:
    TexeloReporter m_reporter;
};
} // namespace

std::unique_ptr<TexeloFrontEnd> makeFrontEnd(const char*)
{
    return std::make_unique<HeadlessFrontEnd>();
}
