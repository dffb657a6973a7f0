// The GTK 3 back end: GTK windows with a drawing area each, GDK events
// posted as host input, the message queue as a GLib source, cursors,
// pointer grabs for popups, the system clipboard and drags by MIME type,
// and printing through the canvas.
#include "platform/hosts/gtk/gtk_host.h"

#include "platform/canvas/canvas.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"
#include "platform/clock.h"
#include "platform/controls/application.h"
#include "platform/controls/clipboard.h"
#include "platform/controls/cursors.h"
#include "platform/controls/drag_drop.h"
#include "platform/controls/input_method.h"
#include "platform/controls/window_manager.h"
#include "platform/controls/window_paint.h"
#include "platform/text_encoding.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <string_view>
#include <map>
#include <stdexcept>
#include <unistd.h>

namespace plat {

namespace {

// The drag image service of the page: one page, 96 pixels per inch, at
// three times that for the printer.
constexpr int PrintScale = 3;

struct TNativeWindow {
    HWND Handle = 0;
    THostWindowInfo Info;
    GtkWidget* Window = nullptr;
    GtkWidget* Area = nullptr;
    GtkIMContext* Im = nullptr;
    bool Preediting = false;      // the input method shows a composition
    bool ResettingIm = false;     // the program resets it: what it reports meanwhile is dropped
    TGtkHost::TState* Host = nullptr;
    TRect Placed;  // the bounds GTK was last told or reported
    TSize MinSize{0, 0};          // the sizes the user may drag the window to
    TSize MaxSize{G_MAXSHORT, G_MAXSHORT};
};

// A resizable window is sized by request and kept within its limits by the
// geometry hints, so the user can shrink it down to its minimum; a fixed
// one is as large as its drawing area asks.
void SizeNativeWindow(TNativeWindow& native, const TRect& bounds)
{
    const int width = std::max<int>(static_cast<int>(bounds.Width()), 1);
    const int height = std::max<int>(static_cast<int>(bounds.Height()), 1);
    if (native.Info.Resizable) {
        gtk_widget_set_size_request(native.Area, -1, -1);
    } else {
        gtk_widget_set_size_request(native.Area, width, height);
    }
    gtk_window_resize(GTK_WINDOW(native.Window), width, height);
}

void ApplySizeLimits(TNativeWindow& native)
{
    if (native.Window == nullptr || !native.Info.Resizable) {
        return;
    }
    GdkGeometry geometry{};
    geometry.min_width = std::max(native.MinSize.cx, 1);
    geometry.min_height = std::max(native.MinSize.cy, 1);
    geometry.max_width = std::max(native.MaxSize.cx, geometry.min_width);
    geometry.max_height = std::max(native.MaxSize.cy, geometry.min_height);
    const bool limited = native.MaxSize.cx < G_MAXSHORT || native.MaxSize.cy < G_MAXSHORT;
    const auto hints = static_cast<GdkWindowHints>(GDK_HINT_MIN_SIZE | (limited ? GDK_HINT_MAX_SIZE : 0));
    gtk_window_set_geometry_hints(GTK_WINDOW(native.Window), nullptr, &geometry, hints);
}

// Makes the window's drawing area a drop target for drags of any program.
void AttachDragDestination(TNativeWindow& native);

// The queue as a GLib source: ready when a message waits, woken by the
// queue's fd, timed by its next timer. It counts only while the program
// waits for work: the loops GTK runs itself (printing, clipboard reads,
// drags) must neither spin on it nor starve their own idle work.
struct TQueueSource {
    GSource Base;
    TMessageQueue* Queue;
    gpointer FdTag;
    bool Waiting;
    bool Watching;   // the queue's fd is polled
};

// Polls the queue's fd or stops polling it. Every change wakes the context,
// so the watch changes only when it must: the program's waits keep it, a
// loop of GTK's own drops it at its first iteration.
void WatchQueueFd(TQueueSource& source, bool watch)
{
    if (source.Watching != watch) {
        source.Watching = watch;
        g_source_modify_unix_fd(&source.Base, source.FdTag, watch ? G_IO_IN : static_cast<GIOCondition>(0));
    }
}

gboolean QueuePrepare(GSource* source, gint* timeout)
{
    auto* queueSource = reinterpret_cast<TQueueSource*>(source);
    *timeout = -1;
    if (!queueSource->Waiting) {
        WatchQueueFd(*queueSource, false);
        return FALSE;
    }
    if (queueSource->Queue->HasMessage()) {
        *timeout = 0;
        return TRUE;
    }
    if (const auto due = queueSource->Queue->NextTimerDueMs()) {
        const std::int64_t wait = *due - Clock().NowMs();
        *timeout = static_cast<gint>(std::clamp<std::int64_t>(wait, 0, INT_MAX));
    }
    return FALSE;
}

gboolean QueueCheck(GSource* source)
{
    auto* queueSource = reinterpret_cast<TQueueSource*>(source);
    return queueSource->Waiting &&
           ((g_source_query_unix_fd(source, queueSource->FdTag) & G_IO_IN) != 0 || queueSource->Queue->HasMessage());
}

gboolean QueueDispatch(GSource*, GSourceFunc, gpointer)
{
    // Being ready is all: the iteration returns and the program takes the messages.
    return G_SOURCE_CONTINUE;
}

GSourceFuncs QueueSourceFuncs = {QueuePrepare, QueueCheck, QueueDispatch, nullptr, nullptr, nullptr};

std::uint8_t ModifiersOf(guint state)
{
    std::uint8_t modifiers = ModKnown;
    if (state & GDK_SHIFT_MASK) {
        modifiers |= ModShift;
    }
    if (state & GDK_CONTROL_MASK) {
        modifiers |= ModControl;
    }
    if (state & GDK_MOD1_MASK) {
        modifiers |= ModAlt;
    }
    return modifiers;
}

TVirtualKey KeyOfKeyval(guint keyval)
{
    if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) {
        return static_cast<TVirtualKey>('A' + (keyval - GDK_KEY_a));
    }
    if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) {
        return static_cast<TVirtualKey>('A' + (keyval - GDK_KEY_A));
    }
    if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) {
        return static_cast<TVirtualKey>('0' + (keyval - GDK_KEY_0));
    }
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24) {
        return static_cast<TVirtualKey>(VK_F1 + (keyval - GDK_KEY_F1));
    }
    if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9) {
        return static_cast<TVirtualKey>(VK_NUMPAD0 + (keyval - GDK_KEY_KP_0));
    }
    switch (keyval) {
    case GDK_KEY_BackSpace:
        return VK_BACK;
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab:
    case GDK_KEY_KP_Tab:
        return VK_TAB;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
        return VK_RETURN;
    case GDK_KEY_Escape:
        return VK_ESCAPE;
    case GDK_KEY_space:
    case GDK_KEY_KP_Space:
        return VK_SPACE;
    case GDK_KEY_Page_Up:
    case GDK_KEY_KP_Page_Up:
        return VK_PRIOR;
    case GDK_KEY_Page_Down:
    case GDK_KEY_KP_Page_Down:
        return VK_NEXT;
    case GDK_KEY_End:
    case GDK_KEY_KP_End:
        return VK_END;
    case GDK_KEY_Home:
    case GDK_KEY_KP_Home:
        return VK_HOME;
    case GDK_KEY_Left:
    case GDK_KEY_KP_Left:
        return VK_LEFT;
    case GDK_KEY_Up:
    case GDK_KEY_KP_Up:
        return VK_UP;
    case GDK_KEY_Right:
    case GDK_KEY_KP_Right:
        return VK_RIGHT;
    case GDK_KEY_Down:
    case GDK_KEY_KP_Down:
        return VK_DOWN;
    case GDK_KEY_Insert:
    case GDK_KEY_KP_Insert:
        return VK_INSERT;
    case GDK_KEY_Delete:
    case GDK_KEY_KP_Delete:
        return VK_DELETE;
    case GDK_KEY_Shift_L:
    case GDK_KEY_Shift_R:
        return VK_SHIFT;
    case GDK_KEY_Control_L:
    case GDK_KEY_Control_R:
        return VK_CONTROL;
    case GDK_KEY_Alt_L:
    case GDK_KEY_Alt_R:
    case GDK_KEY_Meta_L:
    case GDK_KEY_Meta_R:
        return VK_MENU;
    case GDK_KEY_Caps_Lock:
        return VK_CAPITAL;
    case GDK_KEY_Num_Lock:
        return VK_NUMLOCK;
    case GDK_KEY_Scroll_Lock:
        return VK_SCROLL;
    case GDK_KEY_Pause:
        return VK_PAUSE;
    case GDK_KEY_Print:
        return VK_SNAPSHOT;
    case GDK_KEY_Menu:
        return VK_APPS;
    case GDK_KEY_Super_L:
        return VK_LWIN;
    case GDK_KEY_Super_R:
        return VK_RWIN;
    case GDK_KEY_KP_Multiply:
        return VK_MULTIPLY;
    case GDK_KEY_KP_Add:
        return VK_ADD;
    case GDK_KEY_KP_Subtract:
        return VK_SUBTRACT;
    case GDK_KEY_KP_Decimal:
        return VK_DECIMAL;
    case GDK_KEY_KP_Divide:
        return VK_DIVIDE;
    default:
        return 0;
    }
}

// The key of a key event: by its key symbol, else by the key symbol its
// key has in the first layout group; keys that only type text are
// VK_PACKET, keys of neither kind 0.
TVirtualKey KeyOf(const GdkEventKey& event)
{
    if (const TVirtualKey key = KeyOfKeyval(event.keyval)) {
        return key;
    }
    guint base = 0;
    if (gdk_keymap_translate_keyboard_state(gdk_keymap_get_for_display(gdk_display_get_default()),
                                            event.hardware_keycode, static_cast<GdkModifierType>(0), 0, &base,
                                            nullptr, nullptr, nullptr)) {
        if (const TVirtualKey key = KeyOfKeyval(base)) {
            return key;
        }
    }
    return gdk_keyval_to_unicode(event.keyval) != 0 ? VK_PACKET : 0;
}

THostButton ButtonOf(guint button, bool& known)
{
    known = button >= 1 && button <= 3;
    switch (button) {
    case 2:
        return THostButton::Middle;
    case 3:
        return THostButton::Right;
    default:
        return THostButton::Left;
    }
}

int Floor(double value)
{
    return static_cast<int>(std::clamp(std::floor(value), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

} // namespace

struct TGtkHost::TState {
    std::map<HWND, std::unique_ptr<TNativeWindow>> Windows;
    GSource* QueueSource = nullptr;
    TMessageQueue* SourceQueue = nullptr;
    std::string Title;
    HCURSOR Cursor = 0;
    std::map<HCURSOR, GdkCursor*> Cursors;
    HWND Grab = 0;
    TInputRecorder Recorder;
    TInputMethodMaker MakeInputMethod;   // empty: GTK's input method
    bool SettingClipboard = false;
    std::vector<std::uint16_t> DragFormats;
    GdkDragContext* OwnDrag = nullptr;
    std::shared_ptr<IDataObject> ForeignDragData;

    ~TState()
    {
        for (auto& [cursor, gdkCursor] : Cursors) {
            g_object_unref(gdkCursor);
        }
        if (QueueSource != nullptr) {
            g_source_destroy(QueueSource);
            g_source_unref(QueueSource);
        }
    }

    TNativeWindow* Find(HWND hwnd)
    {
        const auto at = Windows.find(hwnd);
        return at == Windows.end() ? nullptr : at->second.get();
    }

    void Post(TNativeWindow& native, const TQueuedInput& input)
    {
        if (Recorder) {
            Recorder(native.Handle, input);
        }
        PostHostInput(native.Handle, input);
    }

    GdkCursor* CursorOf(HCURSOR cursor)
    {
        if (const auto at = Cursors.find(cursor); at != Cursors.end()) {
            return at->second;
        }
        GdkDisplay* display = gdk_display_get_default();
        GdkCursor* made = nullptr;
        if (const TCursorImage* picture = CursorPicture(cursor); picture != nullptr && picture->Pixels) {
            TPixelSurface& pixels = const_cast<TPixelSurface&>(*picture->Pixels);
            cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixels.Width(), pixels.Height());
            unsigned char* data = cairo_image_surface_get_data(surface);
            const int stride = cairo_image_surface_get_stride(surface);
            for (int y = 0; y < pixels.Height(); ++y) {
                const std::uint8_t* row = pixels.ScanLine(y);
                for (int x = 0; x < pixels.Width(); ++x) {
                    const unsigned alpha = pixels.BitsPerPixel() == 32 ? row[4 * x + 3] : 255;
                    const int step = pixels.BitsPerPixel() / 8;
                    unsigned char* to = data + y * stride + 4 * x;
                    for (int channel = 0; channel < 3; ++channel) {
                        to[channel] = static_cast<unsigned char>(row[step * x + channel] * alpha / 255);
                    }
                    to[3] = static_cast<unsigned char>(alpha);
                }
            }
            cairo_surface_mark_dirty(surface);
            made = gdk_cursor_new_from_surface(display, surface, picture->HotSpot.X, picture->HotSpot.Y);
            cairo_surface_destroy(surface);
        } else {
            const std::string shape = CursorShapeName(cursor);
            made = gdk_cursor_new_from_name(display, shape.empty() ? "default" : shape.c_str());
            if (made == nullptr) {
                made = gdk_cursor_new_from_name(display, "default");
            }
        }
        if (made != nullptr) {
            Cursors.emplace(cursor, made);
        }
        return made;
    }

    void ApplyCursor(TNativeWindow& native)
    {
        if (native.Area == nullptr) {
            return;
        }
        if (GdkWindow* window = gtk_widget_get_window(native.Area)) {
            gdk_window_set_cursor(window, CursorOf(Cursor));
        }
    }

    void ApplyTitle(TNativeWindow& native)
    {
        if (native.Window == nullptr) {
            return;
        }
        if (GdkWindow* window = gtk_widget_get_window(native.Window)) {
            gdk_window_set_icon_name(window, Title.c_str());
        }
    }

    void Realize(TNativeWindow& native);
};

namespace {

TPoint AreaOrigin(TNativeWindow& native)
{
    gint x = 0;
    gint y = 0;
    if (GdkWindow* window = native.Area ? gtk_widget_get_window(native.Area) : nullptr) {
        gdk_window_get_origin(window, &x, &y);
    }
    return Point(x, y);
}

gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer data)
{
    auto& native = *static_cast<TNativeWindow*>(data);
    std::unique_ptr<TPixelSurface> pixels;
    try {
        pixels = ComposeTopLevelWindow(native.Handle);
    } catch (...) {
        return FALSE;
    }
    if (!pixels) {
        return FALSE;
    }
    const int scale = std::max(gtk_widget_get_scale_factor(native.Area), 1);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(pixels->ScanLine(0), CAIRO_FORMAT_RGB24,
                                                                   pixels->Width(), pixels->Height(),
                                                                   pixels->RowBytes());
    cairo_surface_set_device_scale(surface, scale, scale);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_paint(cr);
    cairo_surface_destroy(surface);
    return TRUE;
}

gboolean OnButton(GtkWidget* widget, GdkEventButton* event, gpointer data)
{
    auto& native = *static_cast<TNativeWindow*>(data);
    if (event->type != GDK_BUTTON_PRESS && event->type != GDK_BUTTON_RELEASE) {
        return TRUE; // double and triple presses are told apart by the program
    }
    bool known = false;
    const THostButton button = ButtonOf(event->button, known);
    if (!known) {
        return TRUE;
    }
    if (event->type == GDK_BUTTON_PRESS && !native.Info.Popup) {
        gtk_widget_grab_focus(widget);
    }
    native.Host->Post(native, TQueuedInput{event->type == GDK_BUTTON_PRESS ? THostInputKind::ButtonDown
                                                                           : THostInputKind::ButtonUp,
                                           button, ModifiersOf(event->state), 0, Floor(event->x_root),
                                           Floor(event->y_root)});
    return TRUE;
}

gboolean OnMotion(GtkWidget*, GdkEventMotion* event, gpointer data)
{
    auto& native = *static_cast<TNativeWindow*>(data);
    native.Host->Post(native, TQueuedInput{THostInputKind::MouseMove, THostButton::Left, ModifiersOf(event->state), 0,
                                           Floor(event->x_root), Floor(event->y_root)});
    return TRUE;
}

gboolean OnScroll(GtkWidget*, GdkEventScroll* event, gpointer data)
{
    auto& native = *static_cast<TNativeWindow*>(data);
    THostInputKind kind = THostInputKind::Wheel;
    int delta = 0;
    switch (event->direction) {
    case GDK_SCROLL_UP:
        delta = WHEEL_DELTA;
        break;
    case GDK_SCROLL_DOWN:
        delta = -WHEEL_DELTA;
        break;
    case GDK_SCROLL_LEFT:
        kind = THostInputKind::HorizontalWheel;
        delta = -WHEEL_DELTA;
        break;
    case GDK_SCROLL_RIGHT:
        kind = THostInputKind::HorizontalWheel;
        delta = WHEEL_DELTA;
        break;
    case GDK_SCROLL_SMOOTH: {
        gdouble dx = 0;
        gdouble dy = 0;
        gdk_event_get_scroll_deltas(reinterpret_cast<GdkEvent*>(event), &dx, &dy);
        if (std::fabs(dx) > std::fabs(dy)) {
            kind = THostInputKind::HorizontalWheel;
            delta = static_cast<int>(std::lround(dx * WHEEL_DELTA));
        } else {
            delta = static_cast<int>(std::lround(-dy * WHEEL_DELTA));
        }
        break;
    }
    }
    if (delta != 0) {
        native.Host->Post(native, TQueuedInput{kind, THostButton::Left, ModifiersOf(event->state), delta,
                                               Floor(event->x_root), Floor(event->y_root)});
    }
    return TRUE;
}

gboolean OnLeave(GtkWidget*, GdkEventCrossing* event, gpointer data)
{
    auto& native = *static_cast<TNativeWindow*>(data);
    if (event->mode == GDK_CROSSING_NORMAL) {
        native.Host->Post(native, TQueuedInput{THostInputKind::PointerLeft, THostButton::Left,
                                               ModifiersOf(event->state), 0, Floor(event->x_root),
                                               Floor(event->y_root)});
    }
    return FALSE;
}

// ---- the input method: its composition (preedit) and commits go to the
// program's input method manager, which tells it where the composition
// shows (cursor location) ----

void PlaceInputMethodSpot(TNativeWindow& native)
{
    TRect spot;
    if (native.Im != nullptr && InputMethodSpot(native.Handle, spot)) {
        GdkRectangle area{spot.Left, spot.Top, std::max<int>(spot.Width(), 1), std::max<int>(spot.Height(), 1)};
        gtk_im_context_set_cursor_location(native.Im, &area);
    }
}

void OnPreeditStart(GtkIMContext*, gpointer data)
{
    auto& native = *static_cast<TNativeWindow*>(data);
    native.Preediting = true;
    PlaceInputMethodSpot(native);
}

void OnPreeditChanged(GtkIMContext* im, gpointer data)
{
    auto& native = *static_cast<TNativeWindow*>(data);
    if (native.ResettingIm) {
        return;
    }
    gchar* text = nullptr;
    gint cursor = 0;
    gtk_im_context_get_preedit_string(im, &text, nullptr, &cursor);
    const std::string utf8 = text != nullptr ? text : "";
    // The cursor counts characters; the program counts UTF-16 units.
    const gchar* cursorAt = text != nullptr ? g_utf8_offset_to_pointer(text, std::max(cursor, 0)) : nullptr;
    const std::size_t cursorBytes = cursorAt != nullptr ? static_cast<std::size_t>(cursorAt - text) : 0;
    g_free(text);
    const int units = static_cast<int>(Utf8ToUtf16(utf8.substr(0, std::min(cursorBytes, utf8.size()))).size());
    PostHostComposition(native.Handle, Utf8ToUtf16(utf8), units);
    PlaceInputMethodSpot(native);
}

void OnPreeditEnd(GtkIMContext*, gpointer data)
{
    auto& native = *static_cast<TNativeWindow*>(data);
    native.Preediting = false;
    if (!native.ResettingIm) {
        PostHostCompositionEnd(native.Handle);
    }
}

gboolean OnKey(GtkWidget*, GdkEventKey* event, gpointer data)
{
    auto& native = *static_cast<TNativeWindow*>(data);
    const bool down = event->type == GDK_KEY_PRESS;
    const TVirtualKey key = KeyOf(*event);
    if (key != 0) {
        native.Host->Post(native, TQueuedInput{down ? THostInputKind::KeyDown : THostInputKind::KeyUp,
                                               THostButton::Left, ModifiersOf(event->state), key, 0, 0});
    }
    // Then the input method: its commits are the typed text.
    if (native.Im != nullptr) {
        PlaceInputMethodSpot(native);
        gtk_im_context_filter_keypress(native.Im, event);
    }
    return TRUE;
}

// A commit while composing ends the composition with its result; any
// other is typed text.
void OnCommit(GtkIMContext*, const gchar* text, gpointer data)
{
    auto& native = *static_cast<TNativeWindow*>(data);
    if (native.ResettingIm) {
        return;
    }
    if (native.Preediting) {
        PostHostCompositionResult(native.Handle, Utf8ToUtf16(text != nullptr ? text : ""));
        return;
    }
    for (char16_t unit : Utf8ToUtf16(text != nullptr ? text : "")) {
        native.Host->Post(native, TQueuedInput{THostInputKind::Char, THostButton::Left, 0, unit, 0, 0});
    }
}

gboolean OnFocus(GtkWidget*, GdkEventFocus* event, gpointer data)
{
    auto& native = *static_cast<TNativeWindow*>(data);
    if (native.Im != nullptr) {
        if (event->in) {
            gtk_im_context_focus_in(native.Im);
        } else {
            gtk_im_context_focus_out(native.Im);
        }
    }
    native.Host->Post(native, TQueuedInput{event->in ? THostInputKind::Activated : THostInputKind::Deactivated,
                                           THostButton::Left, 0, 0, 0, 0});
    return FALSE;
}

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data)
{
    auto& native = *static_cast<TNativeWindow*>(data);
    PostMessage(native.Handle, WM_CLOSE, 0, 0);
    return TRUE; // the program decides
}

gboolean OnConfigure(GtkWidget*, GdkEventConfigure* event, gpointer data)
{
    auto& native = *static_cast<TNativeWindow*>(data);
    const TPoint origin = AreaOrigin(native);
    const TRect reported = Bounds(origin.X, origin.Y, event->width, event->height);
    if (!(reported == native.Placed) && native.Info.Decorated) {
        native.Placed = reported;
        native.Host->Post(native, TQueuedInput{THostInputKind::Moved, THostButton::Left, 0,
                                               (event->width & 0xFFFF) | (event->height << 16), origin.X, origin.Y});
    }
    return FALSE;
}

void OnRealize(GtkWidget*, gpointer data)
{
    auto& native = *static_cast<TNativeWindow*>(data);
    if (native.Im != nullptr) {
        gtk_im_context_set_client_window(native.Im, gtk_widget_get_window(native.Area));
    }
    native.Host->ApplyCursor(native);
    native.Host->ApplyTitle(native);
}

} // namespace

void TGtkHost::TState::Realize(TNativeWindow& native)
{
    if (native.Window != nullptr) {
        return;
    }
    native.Window = gtk_window_new(native.Info.Popup ? GTK_WINDOW_POPUP : GTK_WINDOW_TOPLEVEL);
    g_object_ref_sink(native.Window);
    gtk_window_set_title(GTK_WINDOW(native.Window), native.Info.Caption.c_str());
    gtk_window_set_decorated(GTK_WINDOW(native.Window), native.Info.Decorated);
    gtk_window_set_resizable(GTK_WINDOW(native.Window), native.Info.Resizable);
    if (native.Info.ToolWindow || native.Info.Popup) {
        gtk_window_set_type_hint(GTK_WINDOW(native.Window), native.Info.Popup ? GDK_WINDOW_TYPE_HINT_TOOLTIP
                                                                              : GDK_WINDOW_TYPE_HINT_UTILITY);
        gtk_window_set_skip_taskbar_hint(GTK_WINDOW(native.Window), TRUE);
    }
    if (TNativeWindow* owner = Find(native.Info.Owner); owner != nullptr && owner->Window != nullptr) {
        gtk_window_set_transient_for(GTK_WINDOW(native.Window), GTK_WINDOW(owner->Window));
    }
    native.Area = gtk_drawing_area_new();
    gtk_widget_set_can_focus(native.Area, TRUE);
    gtk_widget_add_events(native.Area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                                           GDK_SCROLL_MASK | GDK_SMOOTH_SCROLL_MASK | GDK_KEY_PRESS_MASK |
                                           GDK_KEY_RELEASE_MASK | GDK_LEAVE_NOTIFY_MASK | GDK_ENTER_NOTIFY_MASK |
                                           GDK_FOCUS_CHANGE_MASK);
    const TRect bounds = native.Info.Bounds;
    gtk_container_add(GTK_CONTAINER(native.Window), native.Area);
    SizeNativeWindow(native, bounds);
    ApplySizeLimits(native);
    gtk_window_move(GTK_WINDOW(native.Window), bounds.Left, bounds.Top);
    native.Placed = bounds;
    if (!native.Info.Popup) {
        native.Im = MakeInputMethod ? MakeInputMethod() : gtk_im_multicontext_new();
        g_signal_connect(native.Im, "commit", G_CALLBACK(OnCommit), &native);
        g_signal_connect(native.Im, "preedit-start", G_CALLBACK(OnPreeditStart), &native);
        g_signal_connect(native.Im, "preedit-changed", G_CALLBACK(OnPreeditChanged), &native);
        g_signal_connect(native.Im, "preedit-end", G_CALLBACK(OnPreeditEnd), &native);
    }
    g_signal_connect(native.Area, "draw", G_CALLBACK(OnDraw), &native);
    g_signal_connect(native.Area, "button-press-event", G_CALLBACK(OnButton), &native);
    g_signal_connect(native.Area, "button-release-event", G_CALLBACK(OnButton), &native);
    g_signal_connect(native.Area, "motion-notify-event", G_CALLBACK(OnMotion), &native);
    g_signal_connect(native.Area, "scroll-event", G_CALLBACK(OnScroll), &native);
    g_signal_connect(native.Area, "leave-notify-event", G_CALLBACK(OnLeave), &native);
    g_signal_connect(native.Area, "key-press-event", G_CALLBACK(OnKey), &native);
    g_signal_connect(native.Area, "key-release-event", G_CALLBACK(OnKey), &native);
    g_signal_connect(native.Area, "realize", G_CALLBACK(OnRealize), &native);
    g_signal_connect(native.Window, "focus-in-event", G_CALLBACK(OnFocus), &native);
    g_signal_connect(native.Window, "focus-out-event", G_CALLBACK(OnFocus), &native);
    g_signal_connect(native.Window, "delete-event", G_CALLBACK(OnDelete), &native);
    g_signal_connect(native.Window, "configure-event", G_CALLBACK(OnConfigure), &native);
    AttachDragDestination(native);
}

namespace {

// Xlib's handler is one for the process.
std::function<void()> DisplayLost;

// Xlib calls it when the connection breaks; it must not return.
int OnDisplayConnectionLost(Display*)
{
    if (DisplayLost) {
        DisplayLost();
    }
    _exit(1);
}

} // namespace

TGtkHost::TGtkHost(int& argc, char**& argv) : F(std::make_unique<TState>())
{
    gdk_set_allowed_backends("x11");
    if (!gtk_init_check(&argc, &argv)) {
        throw std::runtime_error("cannot open the X display");
    }
    // In place of GDK's own, which ends the process at once.
    XSetIOErrorHandler(&OnDisplayConnectionLost);
}

void TGtkHost::SetDisplayLostHandler(std::function<void()> handler)
{
    DisplayLost = std::move(handler);
}

TGtkHost::~TGtkHost()
{
    for (auto& [handle, native] : F->Windows) {
        if (native->Im != nullptr) {
            g_object_unref(native->Im);
        }
        if (native->Window != nullptr) {
            gtk_widget_destroy(native->Window);
            g_object_unref(native->Window);
        }
    }
    F->Windows.clear();
}

void TGtkHost::CreateHostWindow(HWND window, const THostWindowInfo& info)
{
    // The desktop's high-contrast setting shows in the name of its theme.
    if (TWindowManager* manager = TWindowManager::Instance()) {
        gchar* theme = nullptr;
        g_object_get(gtk_settings_get_default(), "gtk-theme-name", &theme, nullptr);
        manager->HighContrast = theme != nullptr && std::strstr(theme, "HighContrast") != nullptr;
        g_free(theme);
    }
    auto native = std::make_unique<TNativeWindow>();
    native->Handle = window;
    native->Info = info;
    native->Host = F.get();
    // The GTK window is made when the window first shows.
    F->Windows[window] = std::move(native);
}

void TGtkHost::DestroyHostWindow(HWND window)
{
    const auto at = F->Windows.find(window);
    if (at == F->Windows.end()) {
        return;
    }
    TNativeWindow& native = *at->second;
    if (F->Grab == window) {
        SetHostPointerGrab(0);
    }
    if (native.Im != nullptr) {
        g_object_unref(native.Im);
    }
    if (native.Window != nullptr) {
        gtk_widget_destroy(native.Window);
        g_object_unref(native.Window);
    }
    F->Windows.erase(at);
}

void TGtkHost::ShowHostWindow(HWND window, bool visible)
{
    TNativeWindow* native = F->Find(window);
    if (native == nullptr) {
        return;
    }
    if (!visible) {
        if (native->Window != nullptr) {
            gtk_widget_hide(native->Window);
        }
        return;
    }
    F->Realize(*native);
    gtk_widget_show_all(native->Window);
    gtk_window_move(GTK_WINDOW(native->Window), native->Info.Bounds.Left, native->Info.Bounds.Top);
    if (!native->Info.Popup) {
        gtk_widget_grab_focus(native->Area);
    }
}

void TGtkHost::MoveHostWindow(HWND window, const TRect& bounds)
{
    TNativeWindow* native = F->Find(window);
    if (native == nullptr) {
        return;
    }
    native->Info.Bounds = bounds;
    native->Placed = bounds;
    if (native->Window == nullptr) {
        return;
    }
    SizeNativeWindow(*native, bounds);
    gtk_window_move(GTK_WINDOW(native->Window), bounds.Left, bounds.Top);
}

void TGtkHost::SetHostWindowSizeLimits(HWND window, TSize minimum, TSize maximum)
{
    TNativeWindow* native = F->Find(window);
    if (native == nullptr) {
        return;
    }
    native->MinSize = minimum;
    native->MaxSize = TSize{std::min<int>(maximum.cx, G_MAXSHORT), std::min<int>(maximum.cy, G_MAXSHORT)};
    ApplySizeLimits(*native);
}

void TGtkHost::SetHostWindowCaption(HWND window, const std::string& caption)
{
    TNativeWindow* native = F->Find(window);
    if (native == nullptr) {
        return;
    }
    native->Info.Caption = caption;
    if (native->Window != nullptr) {
        gtk_window_set_title(GTK_WINDOW(native->Window), caption.c_str());
        F->ApplyTitle(*native);
    }
}

void TGtkHost::ActivateHostWindow(HWND window)
{
    TNativeWindow* native = F->Find(window);
    if (native != nullptr && native->Window != nullptr && gtk_widget_get_visible(native->Window) &&
        !native->Info.Popup) {
        gtk_window_present(GTK_WINDOW(native->Window));
    }
}

void TGtkHost::HostWindowPixelsChanged(HWND window, const TRect& area)
{
    TNativeWindow* native = F->Find(window);
    if (native == nullptr || native->Area == nullptr) {
        return;
    }
    const TRect cut = IntersectRect(area, Rect(0, 0, 32767, 32767));
    if (!cut.IsEmpty()) {
        gtk_widget_queue_draw_area(native->Area, cut.Left, cut.Top, static_cast<int>(cut.Width()),
                                   static_cast<int>(cut.Height()));
    }
}

void TGtkHost::MoveHostPointer(TPoint screenPoint)
{
    GdkDisplay* display = gdk_display_get_default();
    GdkSeat* seat = display != nullptr ? gdk_display_get_default_seat(display) : nullptr;
    GdkDevice* pointer = seat != nullptr ? gdk_seat_get_pointer(seat) : nullptr;
    if (pointer != nullptr) {
        gdk_device_warp(pointer, gdk_display_get_default_screen(display), screenPoint.X, screenPoint.Y);
        gdk_display_flush(display);
    }
}

GtkWindow* TGtkHost::NativeWindow(HWND window) const
{
    TNativeWindow* native = F->Find(GetTopLevelWindow(window));
    return native != nullptr && native->Window != nullptr ? GTK_WINDOW(native->Window) : nullptr;
}

GtkWindow* GtkWindowOf(HWND window)
{
    TWindowManager* manager = TWindowManager::Instance();
    auto* host = manager != nullptr ? dynamic_cast<TGtkHost*>(&manager->Host()) : nullptr;
    return host != nullptr ? host->NativeWindow(window) : nullptr;
}

void TGtkHost::SetApplicationTitle(const std::string& title)
{
    F->Title = title;
    for (auto& [handle, native] : F->Windows) {
        F->ApplyTitle(*native);
    }
}

void TGtkHost::SetHostCursor(HCURSOR cursor)
{
    F->Cursor = cursor;
    for (auto& [handle, native] : F->Windows) {
        F->ApplyCursor(*native);
    }
}

void TGtkHost::SetHostPointerGrab(HWND window)
{
    GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
    if (F->Grab != 0) {
        gdk_seat_ungrab(seat);
        F->Grab = 0;
    }
    TNativeWindow* native = F->Find(window);
    // Popups hold the pointer; other windows keep it by the press itself.
    if (native == nullptr || !native->Info.Popup || native->Area == nullptr) {
        return;
    }
    if (GdkWindow* gdkWindow = gtk_widget_get_window(native->Area)) {
        if (gdk_seat_grab(seat, gdkWindow, GDK_SEAT_CAPABILITY_ALL_POINTING, TRUE, nullptr, nullptr, nullptr,
                          nullptr) == GDK_GRAB_SUCCESS) {
            F->Grab = window;
        }
    }
}

namespace {

GdkMonitor* PrimaryMonitor()
{
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    return monitor != nullptr ? monitor : gdk_display_get_monitor(display, 0);
}

TRect RectOf(const GdkRectangle& rect)
{
    return Bounds(rect.x, rect.y, rect.width, rect.height);
}

} // namespace

int TGtkHost::DeviceScale() const
{
    GdkMonitor* monitor = PrimaryMonitor();
    return monitor != nullptr ? std::max(gdk_monitor_get_scale_factor(monitor), 1) : 1;
}

TRect TGtkHost::ScreenRect() const
{
    GdkRectangle rect{0, 0, 1024, 768};
    if (GdkMonitor* monitor = PrimaryMonitor()) {
        gdk_monitor_get_geometry(monitor, &rect);
    }
    return RectOf(rect);
}

TRect TGtkHost::WorkArea() const
{
    GdkRectangle rect{0, 0, 1024, 768};
    if (GdkMonitor* monitor = PrimaryMonitor()) {
        gdk_monitor_get_workarea(monitor, &rect);
    }
    return RectOf(rect);
}

void TGtkHost::Beep(unsigned)
{
    gdk_display_beep(gdk_display_get_default());
}

void TGtkHost::WaitForWork(TMessageQueue& queue)
{
    if (F->SourceQueue != &queue) {
        if (F->QueueSource != nullptr) {
            g_source_destroy(F->QueueSource);
            g_source_unref(F->QueueSource);
        }
        F->QueueSource = g_source_new(&QueueSourceFuncs, sizeof(TQueueSource));
        auto* source = reinterpret_cast<TQueueSource*>(F->QueueSource);
        source->Queue = &queue;
        source->Waiting = false;
        source->Watching = false;
        source->FdTag = g_source_add_unix_fd(F->QueueSource, queue.WakeFd(), static_cast<GIOCondition>(0));
        g_source_attach(F->QueueSource, nullptr);
        F->SourceQueue = &queue;
    }
    if (queue.HasMessage()) {
        return;
    }
    auto* source = reinterpret_cast<TQueueSource*>(F->QueueSource);
    source->Waiting = true;
    WatchQueueFd(*source, true);
    g_main_context_iteration(nullptr, TRUE);
    source->Waiting = false;
}

void TGtkHost::SetInputMethodMaker(TInputMethodMaker make)
{
    F->MakeInputMethod = std::move(make);
}

void TGtkHost::SetInputRecorder(TInputRecorder recorder)
{
    F->Recorder = std::move(recorder);
}

// ---- clipboard and drags between programs ----

std::string MimeTypeOfFormat(std::uint16_t format)
{
    if (format == CF_UNICODETEXT || format == CF_TEXT) {
        return "text/plain;charset=utf-8";
    }
    const std::string name = GetClipboardFormatName(format);
    if (name == "HTML Format") {
        return "text/html";
    }
    if (name == "Rich Text Format" || name == "Rich Text Format Without Objects") {
        return "text/rtf";
    }
    if (name == "CSV") {
        return "text/csv";
    }
    return name.empty() ? std::string() : "application/x-qel-" + name;
}

namespace {

// Targets of the formats: text formats become GTK's text targets; the info
// of each target is the format number.
GtkTargetList* TargetsOf(const std::vector<std::uint16_t>& formats)
{
    GtkTargetList* targets = gtk_target_list_new(nullptr, 0);
    bool text = false;
    for (std::uint16_t format : formats) {
        if (format == CF_UNICODETEXT || format == CF_TEXT) {
            if (!text) {
                gtk_target_list_add_text_targets(targets, CF_UNICODETEXT);
                text = true;
            }
            continue;
        }
        const std::string mime = MimeTypeOfFormat(format);
        if (!mime.empty()) {
            gtk_target_list_add(targets, gdk_atom_intern(mime.c_str(), FALSE), 0, format);
        }
    }
    return targets;
}

void RenderInto(GtkSelectionData* selection, std::uint16_t format, const HGLOBAL& block)
{
    if (!block) {
        return;
    }
    if (format == CF_UNICODETEXT) {
        const std::string text = UnicodeBlockToText(block);
        gtk_selection_data_set_text(selection, text.c_str(), static_cast<gint>(text.size()));
        return;
    }
    gtk_selection_data_set(selection, gtk_selection_data_get_target(selection), 8, block->Data(),
                           static_cast<gint>(block->Size()));
}

void ClipboardGet(GtkClipboard*, GtkSelectionData* selection, guint info, gpointer)
{
    RenderInto(selection, static_cast<std::uint16_t>(info), RenderClipboardForHost(static_cast<CLIPFORMAT>(info)));
}

void ClipboardClear(GtkClipboard*, gpointer data)
{
    auto* state = static_cast<TGtkHost::TState*>(data);
    if (state->SettingClipboard || Application == nullptr) {
        return;
    }
    // Another program took the clipboard: let ours go from the message loop.
    QueueCall(Application->Handle(), [] { ForeignClipboardTookOver(); });
}

} // namespace

void TGtkHost::ClipboardOffered(const std::vector<std::uint16_t>& formats)
{
    GtkClipboard* clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
    if (formats.empty()) {
        return;
    }
    GtkTargetList* list = TargetsOf(formats);
    gint count = 0;
    GtkTargetEntry* entries = gtk_target_table_new_from_list(list, &count);
    F->SettingClipboard = true;
    gtk_clipboard_set_with_data(clipboard, entries, static_cast<guint>(count), ClipboardGet, ClipboardClear, F.get());
    gtk_clipboard_set_can_store(clipboard, nullptr, 0);
    F->SettingClipboard = false;
    gtk_target_table_free(entries, count);
    gtk_target_list_unref(list);
}

bool TGtkHost::ReadForeignClipboardText(std::string& text)
{
    gchar* read = gtk_clipboard_wait_for_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
    if (read == nullptr) {
        return false;
    }
    text = read;
    g_free(read);
    return true;
}

std::vector<std::uint16_t> TGtkHost::ForeignClipboardFormats()
{
    // The program's own formats travel as "application/x-qel-" and their name.
    constexpr std::string_view prefix = "application/x-qel-";
    std::vector<std::uint16_t> formats;
    GdkAtom* targets = nullptr;
    gint count = 0;
    if (!gtk_clipboard_wait_for_targets(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), &targets, &count)) {
        return formats;
    }
    for (gint i = 0; i < count; ++i) {
        gchar* name = gdk_atom_name(targets[i]);
        const std::string_view mime = name != nullptr ? name : "";
        if (mime.size() > prefix.size() && mime.substr(0, prefix.size()) == prefix) {
            formats.push_back(RegisterClipboardFormat(std::string(mime.substr(prefix.size()))));
        }
        g_free(name);
    }
    g_free(targets);
    return formats;
}

bool TGtkHost::ReadForeignClipboardData(std::uint16_t format, std::vector<std::uint8_t>& bytes)
{
    const std::string mime = MimeTypeOfFormat(format);
    if (mime.rfind("application/x-qel-", 0) != 0) {
        return false;
    }
    GtkSelectionData* data =
        gtk_clipboard_wait_for_contents(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), gdk_atom_intern(mime.c_str(), FALSE));
    if (data == nullptr) {
        return false;
    }
    gint length = 0;
    const guchar* raw = gtk_selection_data_get_data_with_length(data, &length);
    const bool read = raw != nullptr && length >= 0;
    if (read) {
        bytes.assign(raw, raw + length);
    }
    gtk_selection_data_free(data);
    return read;
}

namespace {

DWORD EffectsOf(GdkDragAction actions)
{
    DWORD effects = DROPEFFECT_NONE;
    effects |= (actions & GDK_ACTION_COPY) ? DROPEFFECT_COPY : 0u;
    effects |= (actions & GDK_ACTION_MOVE) ? DROPEFFECT_MOVE : 0u;
    effects |= (actions & GDK_ACTION_LINK) ? DROPEFFECT_LINK : 0u;
    return effects;
}

GdkDragAction ActionOf(DWORD effect)
{
    if (effect & DROPEFFECT_MOVE) {
        return GDK_ACTION_MOVE;
    }
    if (effect & DROPEFFECT_COPY) {
        return GDK_ACTION_COPY;
    }
    if (effect & DROPEFFECT_LINK) {
        return GDK_ACTION_LINK;
    }
    return static_cast<GdkDragAction>(0);
}

DWORD KeyStateOf(GdkDragContext* context)
{
    GdkModifierType state = static_cast<GdkModifierType>(0);
    // Read against the root window: the window under the pointer may be the
    // drag's own icon or another program's, which GDK has no window for.
    if (GdkDevice* device = gdk_drag_context_get_device(context)) {
        gdk_device_get_state(device, gdk_screen_get_root_window(gdk_screen_get_default()), nullptr, &state);
    }
    DWORD keys = 0;
    keys |= (state & GDK_BUTTON1_MASK) ? MK_LBUTTON : 0u;
    keys |= (state & GDK_BUTTON3_MASK) ? MK_RBUTTON : 0u;
    keys |= (state & GDK_BUTTON2_MASK) ? MK_MBUTTON : 0u;
    keys |= (state & GDK_SHIFT_MASK) ? MK_SHIFT : 0u;
    keys |= (state & GDK_CONTROL_MASK) ? MK_CONTROL : 0u;
    keys |= (state & GDK_MOD1_MASK) ? MK_ALT : 0u;
    return keys;
}

// Another program's drag: it offers text when its targets hold text; the
// text itself arrives when dropped.
std::shared_ptr<TBlockDataObject> ForeignDragOffer(GdkDragContext* context)
{
    auto offer = std::make_shared<TBlockDataObject>();
    GtkTargetList* text = gtk_target_list_new(nullptr, 0);
    gtk_target_list_add_text_targets(text, 0);
    for (GList* each = gdk_drag_context_list_targets(context); each != nullptr; each = each->next) {
        guint info = 0;
        if (gtk_target_list_find(text, GDK_POINTER_TO_ATOM(each->data), &info)) {
            offer->Add(CF_UNICODETEXT, TextToUnicodeBlock(""));
            break;
        }
    }
    gtk_target_list_unref(text);
    return offer;
}

std::shared_ptr<IDataObject> DragDataOf(TGtkHost::TState& state, GdkDragContext* context)
{
    if (std::shared_ptr<IDataObject> ours = CurrentDragData(); ours && context == state.OwnDrag) {
        return ours;
    }
    if (!state.ForeignDragData) {
        state.ForeignDragData = ForeignDragOffer(context);
    }
    return state.ForeignDragData;
}

gboolean OnDragMotion(GtkWidget*, GdkDragContext* context, gint x, gint y, guint time, gpointer data)
{
    auto& native = *static_cast<TNativeWindow*>(data);
    const TPoint origin = AreaOrigin(native);
    const DWORD allowed = EffectsOf(gdk_drag_context_get_actions(context));
    const DWORD effect = HostDragOver(DragDataOf(*native.Host, context), Point(origin.X + x, origin.Y + y),
                                      KeyStateOf(context), allowed);
    gdk_drag_status(context, ActionOf(effect), time);
    return TRUE;
}

void OnDragLeave(GtkWidget*, GdkDragContext*, guint, gpointer)
{
    HostDragLeave();
}

gboolean OnDragDrop(GtkWidget* widget, GdkDragContext* context, gint x, gint y, guint time, gpointer data)
{
    auto& native = *static_cast<TNativeWindow*>(data);
    if (context == native.Host->OwnDrag) {
        const TPoint origin = AreaOrigin(native);
        const DWORD effect = HostDragDrop(CurrentDragData(), Point(origin.X + x, origin.Y + y), KeyStateOf(context),
                                          EffectsOf(gdk_drag_context_get_actions(context)));
        gtk_drag_finish(context, effect != DROPEFFECT_NONE, FALSE, time);
        return TRUE;
    }
    // Another program's drop: fetch the text, then drop it.
    GdkAtom target = gtk_drag_dest_find_target(widget, context, nullptr);
    if (target == GDK_NONE) {
        gtk_drag_finish(context, FALSE, FALSE, time);
        return TRUE;
    }
    gtk_drag_get_data(widget, context, target, time);
    return TRUE;
}

void OnDragReceived(GtkWidget*, GdkDragContext* context, gint x, gint y, GtkSelectionData* selection, guint,
                    guint time, gpointer data)
{
    auto& native = *static_cast<TNativeWindow*>(data);
    auto dropped = std::make_shared<TBlockDataObject>();
    if (guchar* text = gtk_selection_data_get_text(selection)) {
        const std::string utf8(reinterpret_cast<const char*>(text));
        dropped->Add(CF_UNICODETEXT, TextToUnicodeBlock(utf8));
        dropped->Add(CF_TEXT, TextToAnsiBlock(utf8));
        g_free(text);
    }
    const TPoint origin = AreaOrigin(native);
    const DWORD effect = HostDragDrop(dropped, Point(origin.X + x, origin.Y + y), KeyStateOf(context),
                                      EffectsOf(gdk_drag_context_get_actions(context)));
    native.Host->ForeignDragData.reset();
    gtk_drag_finish(context, effect != DROPEFFECT_NONE, (effect & DROPEFFECT_MOVE) != 0, time);
}

void OnDragDataGet(GtkWidget*, GdkDragContext*, GtkSelectionData* selection, guint info, guint, gpointer)
{
    if (std::shared_ptr<IDataObject> ours = CurrentDragData()) {
        RenderInto(selection, static_cast<std::uint16_t>(info), GetDataBlock(*ours, static_cast<CLIPFORMAT>(info)));
    }
}

void OnDragEnd(GtkWidget*, GdkDragContext* context, gpointer data)
{
    auto& native = *static_cast<TNativeWindow*>(data);
    const bool dropped = gdk_drag_context_get_selected_action(context) != 0;
    if (native.Host->OwnDrag == context) {
        native.Host->OwnDrag = nullptr;
        HostDragEnded(EffectsOf(gdk_drag_context_get_selected_action(context)), dropped);
    }
}

gboolean OnDragFailed(GtkWidget*, GdkDragContext* context, GtkDragResult, gpointer data)
{
    auto& native = *static_cast<TNativeWindow*>(data);
    if (native.Host->OwnDrag == context) {
        native.Host->OwnDrag = nullptr;
        HostDragEnded(DROPEFFECT_NONE, false);
    }
    return FALSE;
}

void AttachDragDestination(TNativeWindow& native)
{
    gtk_drag_dest_set(native.Area, static_cast<GtkDestDefaults>(0), nullptr, 0,
                      static_cast<GdkDragAction>(GDK_ACTION_COPY | GDK_ACTION_MOVE | GDK_ACTION_LINK));
    gtk_drag_dest_add_text_targets(native.Area);
    g_signal_connect(native.Area, "drag-motion", G_CALLBACK(OnDragMotion), &native);
    g_signal_connect(native.Area, "drag-leave", G_CALLBACK(OnDragLeave), &native);
    g_signal_connect(native.Area, "drag-drop", G_CALLBACK(OnDragDrop), &native);
    g_signal_connect(native.Area, "drag-data-received", G_CALLBACK(OnDragReceived), &native);
    g_signal_connect(native.Area, "drag-data-get", G_CALLBACK(OnDragDataGet), &native);
    g_signal_connect(native.Area, "drag-end", G_CALLBACK(OnDragEnd), &native);
    g_signal_connect(native.Area, "drag-failed", G_CALLBACK(OnDragFailed), &native);
}

} // namespace

void TGtkHost::ResetHostInputMethod(HWND topLevel)
{
    TNativeWindow* native = F->Find(topLevel);
    if (native == nullptr || native->Im == nullptr) {
        return;
    }
    native->ResettingIm = true;
    gtk_im_context_reset(native->Im);
    native->ResettingIm = false;
    native->Preediting = false;
}

bool TGtkHost::BeginHostDrag(const std::vector<std::uint16_t>& formats, std::uint32_t allowedEffects)
{
    // The drag leaves from the window holding the pressed button.
    const HWND capture = GetCapture();
    TNativeWindow* native = F->Find(GetTopLevelWindow(capture != 0 ? capture : GetActiveWindow()));
    if (native == nullptr || native->Area == nullptr) {
        return false;
    }
    GtkTargetList* targets = TargetsOf(formats);
    TPoint pointer;
    GetCursorPos(pointer);
    const TPoint origin = AreaOrigin(*native);
    GdkDragAction actions = static_cast<GdkDragAction>(0);
    actions = static_cast<GdkDragAction>(actions | ((allowedEffects & DROPEFFECT_COPY) ? GDK_ACTION_COPY : 0));
    actions = static_cast<GdkDragAction>(actions | ((allowedEffects & DROPEFFECT_MOVE) ? GDK_ACTION_MOVE : 0));
    actions = static_cast<GdkDragAction>(actions | ((allowedEffects & DROPEFFECT_LINK) ? GDK_ACTION_LINK : 0));
    ReleaseCapture();
    F->OwnDrag = gtk_drag_begin_with_coordinates(native->Area, targets, actions, 1, nullptr, pointer.X - origin.X,
                                                 pointer.Y - origin.Y);
    gtk_target_list_unref(targets);
    return F->OwnDrag != nullptr;
}

// ---- printing ----

namespace {

struct TPrintJob {
    int Pages;
    const TGtkHost::TPrintPage* Paint;
};

void OnBeginPrint(GtkPrintOperation* operation, GtkPrintContext*, gpointer data)
{
    gtk_print_operation_set_n_pages(operation, static_cast<TPrintJob*>(data)->Pages);
}

void OnDrawPage(GtkPrintOperation*, GtkPrintContext* context, gint page, gpointer data)
{
    const auto& job = *static_cast<TPrintJob*>(data);
    cairo_t* cr = gtk_print_context_get_cairo_context(context);
    const double width = gtk_print_context_get_width(context);
    const double height = gtk_print_context_get_height(context);
    const double dpi = gtk_print_context_get_dpi_x(context);
    // The page at 96 pixels per inch, drawn by the canvas at the printer's scale.
    const int logicalWidth = std::max(1, static_cast<int>(width * 96.0 / dpi));
    const int logicalHeight = std::max(1, static_cast<int>(height * 96.0 / dpi));
    TPixelSurface pixels(logicalWidth * PrintScale, logicalHeight * PrintScale, 32);
    TSurfaceDC dc(pixels, PrintScale);
    dc.FillRect(Rect(0, 0, logicalWidth, logicalHeight), CreateSolidBrush(0xFFFFFF));
    TCanvas canvas(&dc);
    try {
        (*job.Paint)(canvas, page, Rect(0, 0, logicalWidth, logicalHeight));
    } catch (...) {
        return;
    }
    cairo_surface_t* surface = cairo_image_surface_create_for_data(pixels.ScanLine(0), CAIRO_FORMAT_RGB24,
                                                                   pixels.Width(), pixels.Height(), pixels.RowBytes());
    cairo_save(cr);
    cairo_scale(cr, width / pixels.Width(), height / pixels.Height());
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(surface);
}

} // namespace

bool TGtkHost::Print(HWND parent, const std::string& jobName, int pageCount, const TPrintPage& paint,
                     const std::string& pdfPath)
{
    if (pageCount <= 0 || !paint) {
        return false;
    }
    TPrintJob job{pageCount, &paint};
    GtkPrintOperation* operation = gtk_print_operation_new();
    gtk_print_operation_set_job_name(operation, jobName.c_str());
    g_signal_connect(operation, "begin-print", G_CALLBACK(OnBeginPrint), &job);
    g_signal_connect(operation, "draw-page", G_CALLBACK(OnDrawPage), &job);
    GtkWindow* window = nullptr;
    if (TNativeWindow* native = F->Find(GetTopLevelWindow(parent)); native != nullptr && native->Window != nullptr) {
        window = GTK_WINDOW(native->Window);
    }
    GtkPrintOperationAction action = GTK_PRINT_OPERATION_ACTION_PRINT_DIALOG;
    if (!pdfPath.empty()) {
        gtk_print_operation_set_export_filename(operation, pdfPath.c_str());
        action = GTK_PRINT_OPERATION_ACTION_EXPORT;
    }
    GError* error = nullptr;
    const GtkPrintOperationResult result = gtk_print_operation_run(operation, action, window, &error);
    if (error != nullptr) {
        g_error_free(error);
    }
    g_object_unref(operation);
    return result == GTK_PRINT_OPERATION_RESULT_APPLY;
}

} // namespace plat
