#include "framework/app/framework_globals.h"

#include "framework/app/app.h"
#include "framework/asyncevent/async_event.h"
#include "framework/audio/audio.h"
#include "framework/containers/random.h"
#include "framework/containers/stack.h"
#include "framework/graphics/graphics.h"
#include "framework/input/input.h"

void kp_framework_init() {
    kp_app_init();
    kp_graphics_init();
    kp_audio_init();
    kp_input_init();
    kp_random_init();
    kp_asyncevent_init();
}

void kp_framework_mark() {
    gc_mark(kp_app__app);
    gc_mark(kp_app__delegate);
    gc_mark(kp_graphics_device);
    gc_mark(kp_graphics_context);
    gc_mark(kp_audio_device);
    gc_mark(kp_input_device);
    gc_mark(kp_app__displayModes);
    gc_mark(kp_app__desktopMode);
    gc_mark(kp_graphics_renderDevice);
    gc_mark(kp_asyncevent__sources);
    gc_mark(kp_asyncevent__current);
    gc_mark(c_Stack3::m_NIL);
}
