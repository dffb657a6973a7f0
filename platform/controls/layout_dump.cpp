// The layout dump of every form.
#include "platform/controls/layout_dump.h"

#include "platform/controls/form.h"
#include "platform/controls/screen.h"

#include <sstream>

namespace plat {

std::string LayoutQuoted(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (c == '\n') {
            quoted += "\\n";
        } else if (c == '\r') {
            quoted += "\\r";
        } else if (c == '\t') {
            quoted += "\\t";
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

namespace {

std::string RectText(const TRect& rect)
{
    return std::to_string(rect.Left) + "," + std::to_string(rect.Top) + "," + std::to_string(rect.Right) + "," +
           std::to_string(rect.Bottom);
}

void DumpControl(std::ostringstream& out, TControl& control, const std::string& path, int depth,
                 const TControlContents& contentOf)
{
    const TPoint origin = control.ClientOrigin();
    const TRect screen = Bounds(origin.X, origin.Y, control.ClientWidth(), control.ClientHeight());
    auto* windowed = dynamic_cast<TWinControl*>(&control);
    out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << path << '\t' << control.ClassName() << '\t'
        << "bounds=" << RectText(control.BoundsRect()) << '\t' << "screen=" << RectText(screen) << '\t'
        << (control.Visible() ? "visible" : "hidden") << ',' << (control.Enabled() ? "enabled" : "disabled")
        << (windowed != nullptr && windowed->Focused() ? ",focused" : "") << '\t' << "text=" << LayoutQuoted(control.Text())
        << '\n';
    if (contentOf) {
        for (const std::string& line : contentOf(control)) {
            out << std::string(static_cast<std::size_t>(depth + 1) * 2, ' ') << "- " << line << '\n';
        }
    }
    if (windowed == nullptr) {
        return;
    }
    for (int i = 0; i < windowed->ControlCount(); ++i) {
        TControl& child = *windowed->Controls(i);
        DumpControl(out, child, path + "." + LayoutName(child, i), depth + 1, contentOf);
    }
}

} // namespace

std::string LayoutName(const TControl& control, int index)
{
    if (!control.Name().empty()) {
        return control.Name();
    }
    return std::string(control.ClassName()) + "#" + std::to_string(index);
}

std::string DumpLayout(const TControlContents& contentOf)
{
    std::ostringstream out;
    if (Screen == nullptr) {
        return {};
    }
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm& form = *Screen->Forms(i);
        DumpControl(out, form, LayoutName(form, i), 0, contentOf);
    }
    return out.str();
}

} // namespace plat
