#pragma once

#include "framework/app/display_mode.h"
#include "framework/asyncevent/async_event_source.h"
#include "runtime/kp_array.h"

// Stores one element: references through the write barrier, Strings by count.
template <class T> void StoreElement(T*& slot, T* value) { gc_assign(slot, value); }
inline void StoreElement(String& slot, const String& value) { slot = value; }

// The body every stack shares: a data array whose length is the capacity,
// and the number of elements in use.
template <class T> class StackBody : public Object {
public:
    Array<T> m_data;
    int m_length = 0;

    void mark() override { gc_mark(m_data); }

protected:
    void Adopt(const Array<T>& values) {
        gc_assign(m_data, values.Resize(values.Length()));
        m_length = values.Length();
    }
    void PushValue(T value) {
        if (m_length == m_data.Length()) gc_assign(m_data, m_data.Resize(m_length * 2 + 10));
        StoreElement(m_data[m_length], value);
        ++m_length;
    }
    void PushValues(const Array<T>& values, int offset, int count) {
        for (int i = 0; i < count; ++i) PushValue(values[offset + i]);
    }
    Array<T> CopyOut() const { return m_data.Resize(m_length); }
    // A negative length empties the stack, as it gives an empty array.
    void SetLength(int length, T nil) {
        if (length < 0) length = 0;
        for (int i = length; i < m_length; ++i) StoreElement(m_data[i], nil);
        if (length > m_data.Length()) {
            int grown = m_length * 2 + 10;
            gc_assign(m_data, m_data.Resize(grown > length ? grown : length));
        }
        m_length = length;
    }
};

class c_Stack : public StackBody<c_DisplayMode*> {
public:
    c_Stack* m_new() { return this; }
    c_Stack* m_new2(Array<c_DisplayMode*> values);
    int p_Push(c_DisplayMode* value);
    int p_Push2(Array<c_DisplayMode*> values, int offset, int count);
    int p_Push3(Array<c_DisplayMode*> values, int offset);
    Array<c_DisplayMode*> p_ToArray();
};

class c_Stack2 : public StackBody<String> {
public:
    static String m_NIL;

    c_Stack2* m_new() { return this; }
    c_Stack2* m_new2(Array<String> values);
    int p_Push4(String value);
    int p_Push5(Array<String> values, int offset, int count);
    int p_Push6(Array<String> values, int offset);
    Array<String> p_ToArray();
    int p_Clear();
    int p_Length(int length);
    int p_Length2();
    String p_Get(int index);
};

class c_StringStack : public c_Stack2 {
public:
    c_StringStack* m_new(Array<String> values);
    c_StringStack* m_new2();
    String p_Join(String separator);
};

class c_Stack3 : public StackBody<c_IAsyncEventSource*> {
public:
    static c_IAsyncEventSource* m_NIL;

    c_Stack3* m_new() { return this; }
    c_Stack3* m_new2(Array<c_IAsyncEventSource*> values);
    bool p_Equals(c_IAsyncEventSource* a, c_IAsyncEventSource* b);
    bool p_Contains2(c_IAsyncEventSource* value);
    int p_Push7(c_IAsyncEventSource* value);
    int p_Push8(Array<c_IAsyncEventSource*> values, int offset, int count);
    int p_Push9(Array<c_IAsyncEventSource*> values, int offset);
    int p_Length(int length);
    int p_Length2();
    c_IAsyncEventSource* p_Get(int index);
};
