// The front end of a run without a window: reports go to the standard streams
// and there is no window to show or draw.

#include "HeadlessFrontEnd.h"

#include <utility>

namespace
{
class HeadlessFrontEnd final : public TexeloFrontEnd
{
public:
    HeadlessFrontEnd(std::string whyNoWindow, std::string whyNoMap)
        : m_whyNoWindow(std::move(whyNoWindow)), m_whyNoMap(std::move(whyNoMap))
    {
    }

    TexeloReporter& reporter() override { return m_reporter; }
    void showWindow(const TexeloContext&, const std::string&) override {}
    std::optional<std::string> whyWindowIsUnseen() const override { return m_whyNoWindow; }
    void waitUntilClosed() override {}
    void closeWindow() override {}
    std::optional<std::string> saveMap(const TexeloContext&, const std::string&) override
    {
        return m_whyNoMap;
    }

private:
    TexeloReporter m_reporter;
    std::string m_whyNoWindow;
    std::string m_whyNoMap;
};
} // namespace

std::unique_ptr<TexeloFrontEnd> makeHeadlessFrontEnd(std::string whyNoWindow, std::string whyNoMap)
{
    return std::make_unique<HeadlessFrontEnd>(std::move(whyNoWindow), std::move(whyNoMap));
}
