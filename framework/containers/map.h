#pragma once

#include "framework/app/display_mode.h"

// A red-black tree node; red is -1, black 1.
class c_Node : public Object {
public:
    int m_key = 0;
    c_Node* m_right = nullptr;
    c_Node* m_left = nullptr;
    c_DisplayMode* m_value = nullptr;
    int m_color = 0;
    c_Node* m_parent = nullptr;

    c_Node* m_new(int key, c_DisplayMode* value, int color, c_Node* parent);
    void mark() override;
};

// An ordered map from int keys to display modes.
class c_Map : public Object {
public:
    c_Node* m_root = nullptr;

    c_Map* m_new() { return this; }
    virtual int p_Compare(int a, int b) = 0;
    c_Node* p_FindNode(int key);
    bool p_Contains(int key);
    bool p_Set(int key, c_DisplayMode* value);
    bool p_Insert(int key, c_DisplayMode* value);
    int p_RotateLeft(c_Node* node);
    int p_RotateRight(c_Node* node);
    int p_InsertFixup(c_Node* node);
    void mark() override;
};

class c_IntMap : public c_Map {
public:
    c_IntMap* m_new() {
        c_Map::m_new();
        return this;
    }
    int p_Compare(int a, int b) override;
};
