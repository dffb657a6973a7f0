// The HTML-like text's tag and font stacks, created at set-up and freed at
// shutdown.
#include "widgets/chart/html_stacks.h"

#include <stdexcept>

namespace qel {

std::unique_ptr<THtmlStacks> HtmlStacks;

void InitChartHtml()
{
    HtmlStacks = std::make_unique<THtmlStacks>();
}

void FinalizeChartHtml()
{
    HtmlStacks.reset();
}

THtmlStacks& CurrentHtmlStacks()
{
    if (!HtmlStacks) {
        throw std::logic_error("HTML-like text is drawn before its stacks are set up");
    }
    return *HtmlStacks;
}

std::string PopHtmlEntry(std::vector<std::string>& Stack)
{
    if (Stack.empty()) {
        return {};
    }
    std::string Entry = std::move(Stack.back());
    Stack.pop_back();
    return Entry;
}

} // namespace qel
