#include "host/display_modes.h"

#include <vector>

#include "host/glfw2.h"
#include "host/kp_glfw_game.h"

namespace {

constexpr int kMaxVideoModes = 1024;

std::vector<glfw2::VidMode> VideoModes() {
    std::vector<glfw2::VidMode> modes(kMaxVideoModes);
    modes.resize(static_cast<std::size_t>(glfw2::GetVideoModes(modes.data(), kMaxVideoModes)));
    return modes;
}

KpDisplayMode* NewDisplayMode(const glfw2::VidMode& mode) {
    auto* display = new KpDisplayMode;
    display->width = mode.Width;
    display->height = mode.Height;
    return display;
}

KpGlfwVideoMode* NewVideoMode(const glfw2::VidMode& mode) {
    auto* video = new KpGlfwVideoMode;
    video->width = mode.Width;
    video->height = mode.Height;
    video->red = mode.RedBits;
    video->green = mode.GreenBits;
    video->blue = mode.BlueBits;
    return video;
}

template <class Mode> Array<Mode*> ListModes(Mode* (*make)(const glfw2::VidMode&)) {
    std::vector<glfw2::VidMode> modes = VideoModes();
    Array<Mode*> list(static_cast<int>(modes.size()));
    for (int i = 0; i < list.Length(); ++i) gc_assign(list[i], make(modes[static_cast<std::size_t>(i)]));
    return list;
}

// Without a monitor (a server whose outputs are all off) the window library
// reports a desktop of 0 x 0; there is no desktop mode then.
template <class Mode> Mode* DesktopMode(Mode* (*make)(const glfw2::VidMode&)) {
    glfw2::VidMode mode;
    glfw2::GetDesktopMode(&mode);
    return mode.Width > 0 && mode.Height > 0 ? make(mode) : nullptr;
}

}  // namespace

Array<KpDisplayMode*> KpGlfwGame::GetDisplayModes() { return ListModes(NewDisplayMode); }

KpDisplayMode* KpGlfwGame::GetDesktopMode() { return DesktopMode(NewDisplayMode); }

Array<KpGlfwVideoMode*> KpGlfwGame::GetGlfwVideoModes() { return ListModes(NewVideoMode); }

KpGlfwVideoMode* KpGlfwGame::GetGlfwDesktopMode() { return DesktopMode(NewVideoMode); }
