// The scripted input-method context: a GtkIMContext subclass whose virtual
// methods answer and note what the tests look at.
#include "tests/platform/hosts_gtk/scripted_input_method.h"

struct TScriptedImClass {
    GtkIMContextClass Parent;
};

G_DEFINE_TYPE(TScriptedIm, scripted_im, GTK_TYPE_IM_CONTEXT)

namespace {

TScriptedIm* Scripted(GtkIMContext* context)
{
    return G_TYPE_CHECK_INSTANCE_CAST(context, scripted_im_get_type(), TScriptedIm);
}

void GetPreeditString(GtkIMContext* context, gchar** text, PangoAttrList** attributes, gint* cursor)
{
    const TScriptedIm* im = Scripted(context);
    if (text != nullptr) {
        *text = g_strdup(im->Preedit);
    }
    if (attributes != nullptr) {
        *attributes = pango_attr_list_new();
    }
    if (cursor != nullptr) {
        *cursor = im->Cursor;
    }
}

void SetClientWindow(GtkIMContext* context, GdkWindow* window)
{
    Scripted(context)->ClientWindow = window;
}

void SetCursorLocation(GtkIMContext* context, GdkRectangle* area)
{
    TScriptedIm* im = Scripted(context);
    im->Location = *area;
    ++im->LocationsSet;
}

void Reset(GtkIMContext* context)
{
    TScriptedIm* im = Scripted(context);
    ++im->Resets;
    if (im->Preedit[0] == '\0') {
        return;
    }
    gchar* had = im->Preedit;
    im->Preedit = g_strdup("");
    im->Cursor = 0;
    if (!im->QuietReset) {
        g_signal_emit_by_name(context, "commit", had);
        g_signal_emit_by_name(context, "preedit-changed");
        g_signal_emit_by_name(context, "preedit-end");
    }
    g_free(had);
}

void Finalize(GObject* object)
{
    g_free(Scripted(GTK_IM_CONTEXT(object))->Preedit);
    G_OBJECT_CLASS(scripted_im_parent_class)->finalize(object);
}

} // namespace

static void scripted_im_init(TScriptedIm* im)
{
    im->Preedit = g_strdup("");
}

static void scripted_im_class_init(TScriptedImClass* type)
{
    G_OBJECT_CLASS(type)->finalize = Finalize;
    GtkIMContextClass* context = GTK_IM_CONTEXT_CLASS(type);
    context->get_preedit_string = GetPreeditString;
    context->set_client_window = SetClientWindow;
    context->set_cursor_location = SetCursorLocation;
    context->reset = Reset;
}

GtkIMContext* NewScriptedIm()
{
    return GTK_IM_CONTEXT(g_object_new(scripted_im_get_type(), nullptr));
}

TScriptedIm& ScriptedIm(GtkIMContext* context)
{
    return *Scripted(context);
}

void ScriptPreedit(GtkIMContext* context, const char* utf8, int cursorChars)
{
    TScriptedIm* im = Scripted(context);
    g_free(im->Preedit);
    im->Preedit = g_strdup(utf8);
    im->Cursor = cursorChars;
    g_signal_emit_by_name(context, "preedit-changed");
}
