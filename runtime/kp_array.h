#pragma once

#include <cstring>
#include <new>
#include <type_traits>

#include "runtime/gc.h"

// How a run of elements is created, copied, destroyed and marked. Numbers,
// booleans and references are plain bytes; Strings hold counts; references
// are also marked.
template <class T> struct PlainElements {
    static void Create(T* at, int count) {
        if (count > 0) std::memset(static_cast<void*>(at), 0, sizeof(T) * count);
    }
    static void Copy(T* at, const T* from, int count) {
        if (count > 0) std::memcpy(static_cast<void*>(at), from, sizeof(T) * count);
    }
    static void Destroy(T*, int) {}
    static void Mark(T*, int) {}
};

template <class T> struct ArrayElements : PlainElements<T> {};

template <class T> struct ArrayElements<T*> : PlainElements<T*> {
    static void Mark(T** at, int count) {
        for (int i = 0; i < count; ++i) gc_mark_at_once(at[i]);
    }
};

template <> struct ArrayElements<String> {
    static void Create(String* at, int count) {
        for (int i = 0; i < count; ++i) new (at + i) String();
    }
    static void Copy(String* at, const String* from, int count) {
        for (int i = 0; i < count; ++i) new (at + i) String(from[i]);
    }
    static void Destroy(String* at, int count) {
        for (int i = 0; i < count; ++i) at[i].~String();
    }
    static void Mark(String*, int) {}
};

// Fixed-length array whose body is a collected object; copies of an Array
// share the body. Indexes are not checked.
template <class T> class Array {
public:
    class Rep : public gc_object {
    public:
        int length;

        constexpr Rep() : gc_object(3), length(0) {}
        Rep(int count, const T* from, int fromCount) : length(count) {
            ArrayElements<T>::Copy(Data(), from, fromCount);
            ArrayElements<T>::Create(Data() + fromCount, count - fromCount);
        }
        ~Rep() override { ArrayElements<T>::Destroy(Data(), length); }
        void mark() override { ArrayElements<T>::Mark(Data(), length); }

        // The elements follow the header inline.
        T* Data() { return reinterpret_cast<T*>(this + 1); }

        static void* operator new(std::size_t size, int count) {
            return gc_object_alloc(static_cast<int>(size + sizeof(T) * count));
        }
        static void operator delete(void* body) { gc_object::operator delete(body); }
        static void operator delete(void* body, int) { gc_object::operator delete(body); }
    };

    static inline constinit Rep nullRep{};

    Array() : rep(&nullRep) {}
    explicit Array(int length) : rep(NewRep(length, nullptr, 0)) {}

    int Length() const { return rep->length; }
    T& operator[](int index) const { return rep->Data()[index]; }
    T* Data() const { return rep->Data(); }

    // A new body of `length` elements starting with this array's first ones.
    Array Resize(int length) const {
        int kept = length < Length() ? length : Length();
        return Array(NewRep(length, Data(), kept < 0 ? 0 : kept));
    }

    Rep* rep;

private:
    explicit Array(Rep* body) : rep(body) {}
    static Rep* NewRep(int length, const T* from, int fromCount) {
        if (length <= 0) return &nullRep;
        return new (length) Rep(length, from, fromCount);
    }
};

template <class T> void gc_mark(const Array<T>& array) { gc_mark(array.rep); }

// Storing an array marks its body at once (a static empty body never is).
template <class T> Array<T>& gc_assign(Array<T>& field, const Array<T>& value) {
    gc_mark_at_once(value.rep);
    field = value;
    return field;
}
