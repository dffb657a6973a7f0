// The GTK colour chooser: a colour in, the chosen colour out.
#include "platform/hosts/gtk/color_chooser.h"

#include "platform/hosts/gtk/file_chooser.h"

#include <gtk/gtk.h>

#include <cmath>
#include <vector>

namespace plat {

namespace {

GdkRGBA RgbaOf(TDialogColor color)
{
    return GdkRGBA{(color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0, ((color >> 16) & 0xFF) / 255.0, 1.0};
}

TDialogColor ColorOf(const GdkRGBA& rgba)
{
    const auto channel = [](double value) {
        return static_cast<TDialogColor>(std::lround(std::fmin(std::fmax(value, 0.0), 1.0) * 255.0));
    };
    return channel(rgba.red) | channel(rgba.green) << 8 | channel(rgba.blue) << 16;
}

} // namespace

TColorChooserAnswer TGtkColorChooser::Choose(const TColorChooserRequest& request)
{
    GtkWidget* dialog = gtk_color_chooser_dialog_new("Colour", MainGtkWindow());
    GtkColorChooser* chooser = GTK_COLOR_CHOOSER(dialog);
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
    gtk_color_chooser_set_use_alpha(chooser, FALSE);
    if (!request.CustomColors.empty()) {
        std::vector<GdkRGBA> custom;
        for (const TDialogColor color : request.CustomColors) {
            custom.push_back(RgbaOf(color));
        }
        gtk_color_chooser_add_palette(chooser, GTK_ORIENTATION_HORIZONTAL, static_cast<gint>(custom.size()),
                                      static_cast<gint>(custom.size()), custom.data());
    }
    const GdkRGBA start = RgbaOf(request.Color);
    gtk_color_chooser_set_rgba(chooser, &start);
    TColorChooserAnswer answer;
    answer.Color = request.Color;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_OK) {
        GdkRGBA chosen;
        gtk_color_chooser_get_rgba(chooser, &chosen);
        answer.Confirmed = true;
        answer.Color = ColorOf(chosen);
    }
    gtk_widget_destroy(dialog);
    return answer;
}

} // namespace plat
