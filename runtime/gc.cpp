#include "runtime/gc.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "runtime/memory.h"

int gc_markbit = 1;
constinit gc_object gc_unmarked_list{0};
constinit gc_object gc_queued_list{0};
constinit gc_object gc_marked_list{0};
constinit gc_object gc_free_list{0};
gc_object* gc_cache[8];
int gc_new_bytes;
std::atomic<long long> gc_ext_new_bytes;
int gc_alloced_bytes;
int gc_max_alloced_bytes;
int gc_marked_bytes;
int gc_free_bytes;
long long gc_alloc_count;

// These touch the header of blocks that hold no constructed object yet (or
// any more), which the sanitizer's dynamic type check would reject.
#define GC_RAW_BLOCK __attribute__((no_sanitize("vptr")))

namespace {

constexpr int kCycleBytes = 0x800000;
constexpr int kNoLimit = 2147483647;
constexpr int kCachedBelow = 64;

std::vector<void (*)()>& rootMarkers() {
    static std::vector<void (*)()> markers;
    return markers;
}

// A block handed out whose object is not constructed yet. Allocations nest
// (a constructor's argument may itself be a new object), so there may be
// several, the newest last.
struct UnlinkedBlock {
    void* block;
    int size;
};

constinit std::vector<UnlinkedBlock> unlinkedBlocks;

// Forgets `block` and gives its size, or -1 when it is not waiting.
int takeUnlinked(const void* block) {
    for (auto at = unlinkedBlocks.end(); at != unlinkedBlocks.begin();) {
        --at;
        if (at->block != block) continue;
        int size = at->size;
        unlinkedBlocks.erase(at);
        return size;
    }
    return -1;
}

GC_RAW_BLOCK void releaseBlock(gc_object* block, int size) {
    if (size >= kCachedBelow) {
        std::free(block);
        return;
    }
    block->succ = gc_cache[size / 8];
    gc_cache[size / 8] = block;
}

void clearList(gc_object* list) {
    list->succ = list;
    list->pred = list;
}

bool isEmpty(const gc_object* list) { return list->succ == list; }

void unlink(gc_object* object) {
    object->pred->succ = object->succ;
    object->succ->pred = object->pred;
}

GC_RAW_BLOCK void appendTo(gc_object* list, gc_object* object) {
    object->succ = list;
    object->pred = list->pred;
    list->pred->succ = object;
    list->pred = object;
}

// Moves every object of `from` to the tail of `to`, leaving `from` empty.
void spliceAll(gc_object* from, gc_object* to) {
    if (isEmpty(from)) return;
    gc_object* head = from->succ;
    gc_object* tail = from->pred;
    head->pred = to->pred;
    to->pred->succ = head;
    tail->succ = to;
    to->pred = tail;
    clearList(from);
}

void moveToMarked(gc_object* object) {
    unlink(object);
    appendTo(&gc_marked_list, object);
    gc_marked_bytes += object->Size();
}

// The free-list object being destroyed, told apart from live ones by address.
gc_object* sweptObject;

bool isOn(const gc_object* list, const gc_object* object) {
    for (const gc_object* node = list->succ; node != list; node = node->succ) {
        if (node == object) return true;
    }
    return false;
}

// Takes a live object off its list and out of the live counts.
void forgetLive(gc_object* object, int size) {
    bool marked = !gc_is_unmarked(object);
    if (marked && !isOn(&gc_queued_list, object)) gc_marked_bytes -= size;
    unlink(object);
    gc_alloced_bytes -= size;
}

void finishCycle() {
    gc_mark_queued(kNoLimit);
    gc_sweep();
    gc_mark();
}

}  // namespace

bool Object::Equals(Object* other) { return other == this; }

int Object::Compare(Object* other) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(this) - reinterpret_cast<std::intptr_t>(other));
}

String Object::debug() { return String("+Object\n"); }

GC_RAW_BLOCK void* gc_object_alloc(int size) {
    size = (size + 7) & ~7;
    gc_new_bytes += size;
    ++gc_alloc_count;
    gc_flush_free(size);

    void* block;
    int cacheIndex = size / 8;
    if (size < kCachedBelow && gc_cache[cacheIndex]) {
        block = gc_cache[cacheIndex];
        gc_cache[cacheIndex] = gc_cache[cacheIndex]->succ;
    } else {
        block = kp_malloc(static_cast<std::size_t>(size));
    }
    unlinkedBlocks.push_back({block, size});
    return block;
}

void gc_link_new(gc_object* object) {
    int size = takeUnlinked(object);
    if (size < 0) return;
    object->flags = gc_markbit | size;
    appendTo(&gc_unmarked_list, object);
    gc_alloced_bytes += size;
    if (gc_alloced_bytes > gc_max_alloced_bytes) gc_max_alloced_bytes = gc_alloced_bytes;
}

// Three ways back: a block still waiting for its object (evaluating the
// constructor's arguments threw), an object swept onto the free list, and an
// object linked as live whose constructor threw after the link.
GC_RAW_BLOCK void gc_object_free(gc_object* object) {
    int size = takeUnlinked(object);
    if (size >= 0) {
        releaseBlock(object, size);
        return;
    }
    size = object->flags & ~7;
    if (object == sweptObject) {
        gc_free_bytes -= size;
    } else {
        forgetLive(object, size);
    }
    releaseBlock(object, size);
}

void gc_mark_object(gc_object* object) {
    object->flags ^= 1;
    unlink(object);
    appendTo(&gc_queued_list, object);
}

void gc_mark_object_at_once(gc_object* object) {
    object->flags ^= 1;
    moveToMarked(object);
    object->mark();
}

void gc_add_roots(void (*markRoots)()) { rootMarkers().push_back(markRoots); }

void gc_mark() {
    for (void (*markRoots)() : rootMarkers()) markRoots();
}

void gc_mark_locals() {}

void gc_mark_queued(int limit) {
    while (gc_marked_bytes < limit && !isEmpty(&gc_queued_list)) {
        gc_object* object = gc_queued_list.succ;
        moveToMarked(object);
        object->mark();
    }
}

void gc_sweep() {
    if (gc_alloced_bytes != gc_marked_bytes) {
        spliceAll(&gc_unmarked_list, &gc_free_list);
        gc_free_bytes += gc_alloced_bytes - gc_marked_bytes;
    }
    spliceAll(&gc_marked_list, &gc_unmarked_list);
    gc_alloced_bytes = gc_marked_bytes;
    gc_marked_bytes = 0;
    gc_markbit ^= 1;
}

void gc_collect() {
    long long external = gc_ext_new_bytes.load();
    if (gc_new_bytes + external > kCycleBytes) {
        // Subtract what was read so that additions from other threads survive.
        gc_ext_new_bytes.fetch_sub(external);
        finishCycle();
        gc_new_bytes = 0;
        return;
    }
    long long scaled = static_cast<long long>(gc_alloced_bytes - gc_new_bytes) * gc_new_bytes / kCycleBytes;
    gc_mark_queued(static_cast<int>(gc_new_bytes + scaled));
}

void gc_collect_all() { finishCycle(); }

void gc_flush_free(int size) {
    int target = gc_free_bytes - size;
    if (target < 0) target = 0;
    while (gc_free_bytes > target) {
        gc_object* object = gc_free_list.succ;
        unlink(object);
        sweptObject = object;
        delete object;
        sweptObject = nullptr;
    }
}

void gc_ext_malloced(long long size) { gc_ext_new_bytes.fetch_add(size); }

void gc_init1() {
    clearList(&gc_unmarked_list);
    clearList(&gc_queued_list);
    clearList(&gc_marked_list);
    clearList(&gc_free_list);
}

void gc_init2() { gc_mark(); }

void gc_validate_list(gc_object* list, const char* message) {
    // No list can hold more nodes than there are 8-byte blocks in use, which
    // also ends the walk of a cycle that never returns to the sentinel.
    long long stepsLeft = (static_cast<long long>(gc_alloced_bytes) + gc_free_bytes) / 8 + 1;
    gc_object* node = list;
    bool intact = true;
    do {
        gc_object* next = node->succ;
        intact = next != nullptr && next->pred == node && stepsLeft-- > 0;
        node = next;
    } while (intact && node != list);
    if (intact) return;
    if (message) {
        std::puts(message);
        std::fflush(stdout);
    }
    std::puts("LIST ERROR!");
    std::exit(-1);
}

gc_object* gc_find_live(const void* address) {
    for (gc_object* list : {&gc_unmarked_list, &gc_queued_list, &gc_marked_list}) {
        for (gc_object* node = list->succ; node != list; node = node->succ) {
            if (node == address) return node;
        }
    }
    return nullptr;
}

long long gc_micros() {
    static const bool usable = [] {
        timespec resolution;
        return clock_getres(CLOCK_MONOTONIC, &resolution) == 0 && resolution.tv_sec == 0 &&
               resolution.tv_nsec <= 1000;
    }();
    static bool failed = false;
    if (!usable || failed) return 0;
    timespec now;
    if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) {
        failed = true;
        return 0;
    }
    return static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}
