// Edition flag, caption, diagnostic log and the suite window message.
#include "foundations/suite_services.h"

namespace qel {

plat::UINT WM_SUITE_NOTIFY = 0;

void RegisterSuiteMessage()
{
    WM_SUITE_NOTIFY = plat::RegisterWindowMessage(SUITE_MESSAGE_NAME);
}

bool IsValidatedEdition()
{
    return false;
}

std::string InternCaption(const std::string& Text)
{
    return Text;
}

void LogInit(plat::HWND /*Owner*/, const std::string& /*AppName*/)
{
}

void LogText(const std::string& /*Text*/)
{
}

void LogClose()
{
}

} // namespace qel

