#include "framework/app/app.h"
#include "framework/containers/map.h"
#include "framework/containers/stack.h"

// The host's modes without repeats (modes differing only in colour depth are
// one), in the host's order, and the desktop's own size.
int kp_app_EnumDisplayModes() {
    Array<KpDisplayMode*> modes = kp_app__game->GetDisplayModes();
    c_IntMap* seen = (new c_IntMap)->m_new();
    c_Stack* unique = (new c_Stack)->m_new();
    for (int i = 0; i < modes.Length(); ++i) {
        int key = modes[i]->width << 16 | modes[i]->height;
        if (seen->p_Contains(key)) continue;
        c_DisplayMode* mode = (new c_DisplayMode)->m_new(modes[i]->width, modes[i]->height);
        seen->p_Insert(key, mode);
        unique->p_Push(mode);
    }
    gc_assign(kp_app__displayModes, unique->p_ToArray());

    KpDisplayMode* desktop = kp_app__game->GetDesktopMode();
    c_DisplayMode* desktopMode = new c_DisplayMode;
    if (desktop) {
        desktopMode->m_new(desktop->width, desktop->height);
    } else {
        desktopMode->m_new(kp_app__devWidth, kp_app__devHeight);
    }
    gc_assign(kp_app__desktopMode, desktopMode);
    return 0;
}
