#pragma once

#include <atomic>
#include <cstddef>
#include <type_traits>

#include "runtime/kp_string.h"

// Incremental, non-moving mark-and-sweep collector with a mark-bit flip.
// Collection runs only between calls from the host into the game, so the
// module globals are the only roots and no stack is scanned.

struct gc_object;

void* gc_object_alloc(int size);
void gc_object_free(gc_object* object);
// Links and colours the block gc_object_alloc handed out for `object`; an
// object that did not come from there is left alone.
void gc_link_new(gc_object* object);

// Header shared by every collected object. The constructor, not the
// allocator, links and colours the block: value-initialisation (`new c_X()`
// of a class without a constructor of its own, or `c_Base()` in a
// constructor's initialiser list) zero-fills the object, header included,
// before any constructor runs.
struct gc_object {
    gc_object* succ;
    gc_object* pred;
    int flags;  // size in the bits above bit 2, colour in bits 0-2

    gc_object() { gc_link_new(this); }
    // For sentinels and static bodies that live outside the heap.
    constexpr explicit gc_object(int staticFlags) : succ(nullptr), pred(nullptr), flags(staticFlags) {}
    gc_object(const gc_object&) = delete;
    gc_object& operator=(const gc_object&) = delete;
    virtual ~gc_object() {}
    virtual void mark() {}

    int Size() const { return flags & ~7; }

    static void* operator new(std::size_t size) { return gc_object_alloc(static_cast<int>(size)); }
    static void operator delete(void* object) { gc_object_free(static_cast<gc_object*>(object)); }
};

class Object : public gc_object {
public:
    virtual bool Equals(Object* other);
    virtual int Compare(Object* other);
    virtual String debug();
};

// What language exceptions are thrown (by pointer) and caught as.
class ThrowableObject : public Object {};

// Base of every interface; implementing classes derive from it virtually.
class gc_interface {
public:
    virtual ~gc_interface() {}
};

extern int gc_markbit;
extern gc_object gc_unmarked_list;
extern gc_object gc_queued_list;
extern gc_object gc_marked_list;
extern gc_object gc_free_list;
extern gc_object* gc_cache[8];
extern int gc_new_bytes;
extern std::atomic<long long> gc_ext_new_bytes;
extern int gc_alloced_bytes;
extern int gc_max_alloced_bytes;
extern int gc_marked_bytes;
extern int gc_free_bytes;
// Objects allocated since the program started, for measuring garbage rates.
extern long long gc_alloc_count;

// Grey: flip the mark bit and queue the object for scanning.
void gc_mark_object(gc_object* object);
// Black: flip the mark bit, move the object to the marked list and scan it now.
void gc_mark_object_at_once(gc_object* object);

inline bool gc_is_unmarked(const gc_object* object) { return (object->flags & 3) == gc_markbit; }

// An interface reference is converted to its complete object before marking.
template <class T> gc_object* gc_complete_object(T* reference) {
    if constexpr (std::is_base_of_v<gc_object, T>) {
        return reference;
    } else {
        return reference ? dynamic_cast<gc_object*>(reference) : nullptr;
    }
}

template <class T> void gc_mark(T* reference) {
    gc_object* object = gc_complete_object(reference);
    if (object && gc_is_unmarked(object)) gc_mark_object(object);
}

template <class T> void gc_mark_at_once(T* reference) {
    gc_object* object = gc_complete_object(reference);
    if (object && gc_is_unmarked(object)) gc_mark_object_at_once(object);
}

// The write barrier: every store of a reference into a field, global or array
// element goes through here, so nothing stored during a cycle is swept in it.
template <class T, class U> U* gc_assign(T*& field, U* value) {
    gc_mark(value);
    field = value;
    return value;
}

// Registers a function that marks a set of module globals; gc_mark() calls
// them in the order they were registered.
void gc_add_roots(void (*markRoots)());

void gc_mark();
void gc_mark_locals();
void gc_mark_queued(int limit);
void gc_sweep();
void gc_collect();
void gc_collect_all();
void gc_flush_free(int size);
// Counted in 64 bits: one decoded file may exceed 2 GB.
void gc_ext_malloced(long long size);
void gc_init1();
void gc_init2();
void gc_validate_list(gc_object* list, const char* message = nullptr);
// The live collected object at `address`, or null when there is none.
gc_object* gc_find_live(const void* address);
long long gc_micros();
