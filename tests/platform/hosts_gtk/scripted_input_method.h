// An input-method context for the GTK host's tests: it stands in for the
// user's input method, its preedit string answers what the test set, and
// it notes what the host tells it (its window, the cursor location, resets).
#pragma once

#include <gtk/gtk.h>

struct TScriptedIm {
    GtkIMContext Parent;
    gchar* Preedit;            // what the preedit string reads
    gint Cursor;               // in the preedit, in characters
    gboolean QuietReset;       // the reset reports nothing
    GdkWindow* ClientWindow;   // the window the host gave it
    GdkRectangle Location;     // the cursor location the host set last
    int LocationsSet;
    int Resets;
};

// A new scripted input method. Its reset drops the preedit; unless it is
// quiet it reports what it had, as input methods that commit on reset do:
// the preedit as a commit, then an empty preedit and the end.
GtkIMContext* NewScriptedIm();
TScriptedIm& ScriptedIm(GtkIMContext* context);

// Sets the preedit and reports it changed (cursor in characters).
void ScriptPreedit(GtkIMContext* context, const char* utf8, int cursorChars);
