#include "framework/containers/stack.h"

c_Stack* c_Stack::m_new2(Array<c_DisplayMode*> values) {
    Adopt(values);
    return this;
}

int c_Stack::p_Push(c_DisplayMode* value) {
    PushValue(value);
    return 0;
}

int c_Stack::p_Push2(Array<c_DisplayMode*> values, int offset, int count) {
    PushValues(values, offset, count);
    return 0;
}

int c_Stack::p_Push3(Array<c_DisplayMode*> values, int offset) { return p_Push2(values, offset, values.Length() - offset); }

Array<c_DisplayMode*> c_Stack::p_ToArray() { return CopyOut(); }

String c_Stack2::m_NIL;

c_Stack2* c_Stack2::m_new2(Array<String> values) {
    Adopt(values);
    return this;
}

int c_Stack2::p_Push4(String value) {
    PushValue(value);
    return 0;
}

int c_Stack2::p_Push5(Array<String> values, int offset, int count) {
    PushValues(values, offset, count);
    return 0;
}

int c_Stack2::p_Push6(Array<String> values, int offset) { return p_Push5(values, offset, values.Length() - offset); }

Array<String> c_Stack2::p_ToArray() { return CopyOut(); }

int c_Stack2::p_Clear() {
    SetLength(0, m_NIL);
    return 0;
}

int c_Stack2::p_Length(int length) {
    SetLength(length, m_NIL);
    return 0;
}

int c_Stack2::p_Length2() { return m_length; }

String c_Stack2::p_Get(int index) { return m_data[index]; }

c_StringStack* c_StringStack::m_new(Array<String> values) {
    c_Stack2::m_new2(values);
    return this;
}

c_StringStack* c_StringStack::m_new2() {
    c_Stack2::m_new();
    return this;
}

String c_StringStack::p_Join(String separator) { return separator.Join(p_ToArray()); }

c_IAsyncEventSource* c_Stack3::m_NIL;

c_Stack3* c_Stack3::m_new2(Array<c_IAsyncEventSource*> values) {
    Adopt(values);
    return this;
}

bool c_Stack3::p_Equals(c_IAsyncEventSource* a, c_IAsyncEventSource* b) { return a == b; }

bool c_Stack3::p_Contains2(c_IAsyncEventSource* value) {
    for (int i = 0; i < m_length; ++i) {
        if (p_Equals(m_data[i], value)) return true;
    }
    return false;
}

int c_Stack3::p_Push7(c_IAsyncEventSource* value) {
    PushValue(value);
    return 0;
}

int c_Stack3::p_Push8(Array<c_IAsyncEventSource*> values, int offset, int count) {
    PushValues(values, offset, count);
    return 0;
}

int c_Stack3::p_Push9(Array<c_IAsyncEventSource*> values, int offset) {
    return p_Push8(values, offset, values.Length() - offset);
}

int c_Stack3::p_Length(int length) {
    SetLength(length, m_NIL);
    return 0;
}

int c_Stack3::p_Length2() { return m_length; }

c_IAsyncEventSource* c_Stack3::p_Get(int index) { return m_data[index]; }
