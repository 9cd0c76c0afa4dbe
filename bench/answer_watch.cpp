#include "bench/answer_watch.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "bench/press_page.h"

namespace {

struct Region {
    int x = 0, y = 0, width = 0, height = 0;
};

Region WatchedRegion() {
    Region region;
    const char* text = std::getenv("VANTAROO_WATCHED_REGION");
    if (!text || std::sscanf(text, "%d %d %d %d", &region.x, &region.y, &region.width, &region.height) != 4) {
        return Region();
    }
    return region;
}

std::int64_t MonotonicNanos() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

class AnswerWatch {
public:
    AnswerWatch() : page(MapPressPage(std::getenv("VANTAROO_PRESS_PAGE"))), region(WatchedRegion()) {}

    void AfterSwap(std::int64_t swapTime) {
        if (!page || region.width <= 0 || region.height <= 0) return;
        std::int64_t armed = page->armed.load(std::memory_order_acquire);
        if (armed <= page->answered.load(std::memory_order_relaxed)) return;
        ReadRegion(current);
        if (page->referenced.load(std::memory_order_relaxed) < armed) {
            reference.swap(current);
            page->referenced.store(armed, std::memory_order_release);
            return;
        }
        if (current == reference) return;
        // The player notes the time before it publishes the press.
        bool pressOut = page->pressed.load(std::memory_order_acquire) == armed &&
                        swapTime > page->pressTime.load(std::memory_order_relaxed);
        if (!pressOut) {
            page->strayChanges.fetch_add(1, std::memory_order_relaxed);
            reference.swap(current);
            return;
        }
        page->answerTime.store(swapTime, std::memory_order_relaxed);
        page->answered.store(armed, std::memory_order_release);
    }

private:
    // Read after the swap, so that no frame's swap waits for it. The swap
    // of a software renderer under Xvfb copies the back buffer out, which
    // then still holds the frame just shown (its front buffer reads back
    // black). The program's read state is left as it was.
    void ReadRegion(std::vector<unsigned char>& pixels) {
        std::int64_t start = MonotonicNanos();
        GLint readBuffer = 0, alignment = 0;
        glGetIntegerv(GL_READ_BUFFER, &readBuffer);
        glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        pixels.assign(static_cast<size_t>(region.width) * region.height * 4, 0);
        glReadPixels(region.x, region.y, region.width, region.height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        glReadBuffer(static_cast<GLenum>(readBuffer));
        glPixelStorei(GL_PACK_ALIGNMENT, alignment);
        NoteCost(MonotonicNanos() - start);
    }

    void NoteCost(std::int64_t nanos) {
        page->readbacks.fetch_add(1, std::memory_order_relaxed);
        page->readbackNanos.fetch_add(nanos, std::memory_order_relaxed);
        if (nanos > page->longestReadbackNanos.load(std::memory_order_relaxed)) {
            page->longestReadbackNanos.store(nanos, std::memory_order_relaxed);
        }
    }

    PressPage* page;
    Region region;
    std::vector<unsigned char> reference;
    std::vector<unsigned char> current;
};

}  // namespace

void WatchForAnswer(std::int64_t swapTime) {
    static AnswerWatch watch;
    watch.AfterSwap(swapTime);
}
