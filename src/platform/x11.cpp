// What the desktop needs from X11 beyond SDL 1.2: a lost display ends the
// program in one line after the game's last words, and full screen is only
// asked of the maintained library where a window manager can grant it.
//
// Nothing is linked against libX11: its functions are taken from the copy
// SDL itself loaded, and only while SDL draws through X11. Builds whose SDL
// has no X11 driver, or that lack the X11 headers (the handheld, the armel
// cross build), get the plain versions at the end of the file.
#include "platform/x11.h"
#include <SDL.h>
#include "platform/video.h"

namespace {

void (*last_words)(void) = nullptr;  // set on every build, said only on X11

}  // namespace

void plat_set_last_words(void (*words)(void)) { last_words = words; }

#if defined(SDL_VIDEO_DRIVER_X11) && defined(__has_include)
#if __has_include(<X11/Xlib.h>) && __has_include(<dlfcn.h>)
#define PLAT_X11 1
#endif
#endif

#ifdef PLAT_X11
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <signal.h>
#include <unistd.h>

namespace {

struct Xlib {
    decltype(&XSetIOErrorHandler) set_io_error_handler;
    decltype(&XSetErrorHandler) set_error_handler;
    decltype(&XInternAtom) intern_atom;
    decltype(&XGetWindowProperty) get_window_property;
    decltype(&XFree) free;
    decltype(&XSync) sync;
};

// The libX11 SDL loaded, or null when SDL does not draw through X11. Its
// handle is kept, so the functions stay valid.
const Xlib *xlib_of_sdl(SDL_SysWMinfo *info) {
    static Xlib xlib;
    static int loaded = 0;
    SDL_VERSION(&info->version);
    if (SDL_GetWMInfo(info) <= 0 || info->subsystem != SDL_SYSWM_X11 || !info->info.x11.display)
        return nullptr;
    if (!loaded) {
        void *so = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
        if (!so)
            return nullptr;
        xlib.set_io_error_handler = (decltype(xlib.set_io_error_handler))dlsym(so, "XSetIOErrorHandler");
        xlib.set_error_handler = (decltype(xlib.set_error_handler))dlsym(so, "XSetErrorHandler");
        xlib.intern_atom = (decltype(xlib.intern_atom))dlsym(so, "XInternAtom");
        xlib.get_window_property = (decltype(xlib.get_window_property))dlsym(so, "XGetWindowProperty");
        xlib.free = (decltype(xlib.free))dlsym(so, "XFree");
        xlib.sync = (decltype(xlib.sync))dlsym(so, "XSync");
        if (!xlib.set_io_error_handler || !xlib.set_error_handler || !xlib.intern_atom ||
            !xlib.get_window_property || !xlib.free || !xlib.sync)
            return nullptr;
        loaded = 1;
    }
    return &xlib;
}

// ---- a lost display ------------------------------------------------------

const char LOST_DISPLAY[] = "Lost the connection to the display.\n";
Window own_windows[3];
XErrorHandler previous_error_handler = nullptr;
int chaining = 0;

[[noreturn]] void lost_display(void) {
    // Said once, even if they lose the display again themselves.
    void (*words)(void) = last_words;
    last_words = nullptr;
    if (words)
        words();
    // _exit, not exit: atexit handlers and library destructors would run
    // while SDL's audio thread and the GL driver's threads still use them.
    ssize_t written = write(STDERR_FILENO, LOST_DISPLAY, sizeof LOST_DISPLAY - 1);
    (void)written;
    _exit(1);
}

// Xlib exits by itself if this returns, so it never does.
int on_io_error(Display *) { lost_display(); }

// A window of ours that is gone (the classic library draws through a second
// connection, which outlives a killed window) ends the game the same way.
// Any other error goes to the handler that was there before, as it did.
int on_protocol_error(Display *display, XErrorEvent *error) {
    if (error->error_code == BadWindow || error->error_code == BadDrawable)
        for (Window w : own_windows)
            if (w && error->resourceid == w)
                lost_display();
    if (!previous_error_handler || chaining)
        return 0;
    // SDL 1.2.15 chains to whatever it found at its start; after a second
    // SDL_Init that is this handler again.
    chaining = 1;
    int result = previous_error_handler(display, error);
    chaining = 0;
    return result;
}

// ---- full screen ---------------------------------------------------------

int swallow_error(Display *, XErrorEvent *) { return 0; }

// Whether a running window manager says it can make a window full screen
// (EWMH: a live _NET_SUPPORTING_WM_CHECK and _NET_WM_STATE_FULLSCREEN in
// _NET_SUPPORTED).
int window_manager_does_fullscreen(const Xlib &x, Display *d) {
    Window root = DefaultRootWindow(d);
    Atom check = x.intern_atom(d, "_NET_SUPPORTING_WM_CHECK", False);
    Atom supported = x.intern_atom(d, "_NET_SUPPORTED", False);
    Atom fullscreen = x.intern_atom(d, "_NET_WM_STATE_FULLSCREEN", False);
    // The check window of a window manager that has gone away no longer
    // exists: that BadWindow is expected and must not end the game.
    XErrorHandler ours = x.set_error_handler(swallow_error);
    auto window_property = [&](Window w, Atom name, Atom type, unsigned long *count) -> unsigned char * {
        Atom got_type;
        int format;
        unsigned long after;
        unsigned char *data = nullptr;
        if (x.get_window_property(d, w, name, 0, 1024, False, type, &got_type, &format, count, &after, &data) !=
                Success ||
            got_type != type || format != 32 || *count == 0) {
            if (data)
                x.free(data);
            return nullptr;
        }
        return data;
    };
    int found = 0;
    unsigned long n = 0;
    unsigned char *data = window_property(root, check, XA_WINDOW, &n);
    if (data) {
        Window wm = *(Window *)data;
        x.free(data);
        unsigned char *again = window_property(wm, check, XA_WINDOW, &n);
        if (again) {
            int alive = *(Window *)again == wm;
            x.free(again);
            unsigned char *atoms = alive ? window_property(root, supported, XA_ATOM, &n) : nullptr;
            if (atoms) {
                for (unsigned long i = 0; i < n; i++)
                    if (((Atom *)atoms)[i] == fullscreen)
                        found = 1;
                x.free(atoms);
            }
        }
    }
    x.sync(d, False);
    x.set_error_handler(ours);
    return found;
}

}  // namespace

void plat_watch_display(void) {
    SDL_SysWMinfo info;
    const Xlib *x = xlib_of_sdl(&info);
    if (!x)
        return;
    own_windows[0] = info.info.x11.window;
    own_windows[1] = info.info.x11.wmwindow;
    own_windows[2] = info.info.x11.fswindow;
    // Writing to a server that is gone raises SIGPIPE, which would end the
    // program silently (status 141) before Xlib reports the error.
    signal(SIGPIPE, SIG_IGN);
    x->set_io_error_handler(on_io_error);
    XErrorHandler previous = x->set_error_handler(on_protocol_error);
    if (previous != on_protocol_error)
        previous_error_handler = previous;
}

int plat_toggle_fullscreen(void) {
    if (!screen)
        return 0;
    SDL_SysWMinfo info;
    const Xlib *x = xlib_of_sdl(&info);
    // The maintained library (1.2.50 and later) asks the window manager for
    // full screen; with none that can, the window would keep its size and
    // show a corner of a frame scaled for the whole display, for good. The
    // classic library needs no window manager, and leaving always works.
    int maintained = SDL_Linked_Version()->patch >= 50;
    if (x && maintained && !(screen->flags & SDL_FULLSCREEN)) {
        if (info.info.x11.lock_func)
            info.info.x11.lock_func();
        int can = window_manager_does_fullscreen(*x, info.info.x11.display);
        if (info.info.x11.unlock_func)
            info.info.x11.unlock_func();
        if (!can)
            return 0;
    }
    int toggled = SDL_WM_ToggleFullScreen(screen);
    // On the way in the classic library moves the pointer to the middle of
    // the display, and leaves it there on the way out. Where the keyboard
    // follows the pointer (no window manager) the keys would then go to the
    // desktop: the pointer goes back over the window, where it is hidden.
    if (toggled && x && !maintained && !(screen->flags & SDL_FULLSCREEN))
        SDL_WarpMouse((Uint16)(screen->w / 2), (Uint16)(screen->h / 2));
    return toggled;
}

#else

void plat_watch_display(void) {}

int plat_toggle_fullscreen(void) { return screen ? SDL_WM_ToggleFullScreen(screen) : 0; }

#endif
