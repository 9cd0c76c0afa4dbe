#include "framework/containers/map.h"

namespace {

constexpr int kRed = -1;
constexpr int kBlack = 1;

}  // namespace

c_Node* c_Node::m_new(int key, c_DisplayMode* value, int color, c_Node* parent) {
    m_key = key;
    gc_assign(m_value, value);
    m_color = color;
    gc_assign(m_parent, parent);
    return this;
}

void c_Node::mark() {
    gc_mark(m_right);
    gc_mark(m_left);
    gc_mark(m_value);
    gc_mark(m_parent);
}

c_Node* c_Map::p_FindNode(int key) {
    c_Node* node = m_root;
    while (node) {
        int order = p_Compare(key, node->m_key);
        if (order > 0) {
            node = node->m_right;
        } else if (order < 0) {
            node = node->m_left;
        } else {
            return node;
        }
    }
    return nullptr;
}

bool c_Map::p_Contains(int key) { return p_FindNode(key) != nullptr; }

bool c_Map::p_Set(int key, c_DisplayMode* value) {
    c_Node* node = m_root;
    c_Node* parent = nullptr;
    int order = 0;
    while (node) {
        parent = node;
        order = p_Compare(key, node->m_key);
        if (order > 0) {
            node = node->m_right;
        } else if (order < 0) {
            node = node->m_left;
        } else {
            gc_assign(node->m_value, value);
            return false;
        }
    }
    node = (new c_Node)->m_new(key, value, kRed, parent);
    if (!parent) {
        gc_assign(m_root, node);
        return true;
    }
    if (order < 1) {
        gc_assign(parent->m_left, node);
    } else {
        gc_assign(parent->m_right, node);
    }
    p_InsertFixup(node);
    return true;
}

bool c_Map::p_Insert(int key, c_DisplayMode* value) { return p_Set(key, value); }

int c_Map::p_RotateLeft(c_Node* node) {
    c_Node* child = node->m_right;
    gc_assign(node->m_right, child->m_left);
    if (child->m_left) gc_assign(child->m_left->m_parent, node);
    gc_assign(child->m_parent, node->m_parent);
    if (!node->m_parent) {
        gc_assign(m_root, child);
    } else if (node == node->m_parent->m_left) {
        gc_assign(node->m_parent->m_left, child);
    } else {
        gc_assign(node->m_parent->m_right, child);
    }
    gc_assign(child->m_left, node);
    gc_assign(node->m_parent, child);
    return 0;
}

int c_Map::p_RotateRight(c_Node* node) {
    c_Node* child = node->m_left;
    gc_assign(node->m_left, child->m_right);
    if (child->m_right) gc_assign(child->m_right->m_parent, node);
    gc_assign(child->m_parent, node->m_parent);
    if (!node->m_parent) {
        gc_assign(m_root, child);
    } else if (node == node->m_parent->m_right) {
        gc_assign(node->m_parent->m_right, child);
    } else {
        gc_assign(node->m_parent->m_left, child);
    }
    gc_assign(child->m_right, node);
    gc_assign(node->m_parent, child);
    return 0;
}

int c_Map::p_InsertFixup(c_Node* node) {
    while (node->m_parent && node->m_parent->m_color == kRed && node->m_parent->m_parent) {
        c_Node* parent = node->m_parent;
        c_Node* grandparent = parent->m_parent;
        bool parentOnLeft = parent == grandparent->m_left;
        c_Node* uncle = parentOnLeft ? grandparent->m_right : grandparent->m_left;
        if (uncle && uncle->m_color == kRed) {
            parent->m_color = kBlack;
            uncle->m_color = kBlack;
            grandparent->m_color = kRed;
            node = grandparent;
            continue;
        }
        if (parentOnLeft) {
            if (node == parent->m_right) {
                node = parent;
                p_RotateLeft(node);
            }
            node->m_parent->m_color = kBlack;
            node->m_parent->m_parent->m_color = kRed;
            p_RotateRight(node->m_parent->m_parent);
        } else {
            if (node == parent->m_left) {
                node = parent;
                p_RotateRight(node);
            }
            node->m_parent->m_color = kBlack;
            node->m_parent->m_parent->m_color = kRed;
            p_RotateLeft(node->m_parent->m_parent);
        }
    }
    m_root->m_color = kBlack;
    return 0;
}

void c_Map::mark() { gc_mark(m_root); }

// The difference wraps like the machine's: keys far apart compare wrongly,
// which the program's small keys never meet.
int c_IntMap::p_Compare(int a, int b) { return static_cast<int>(static_cast<unsigned>(a) - static_cast<unsigned>(b)); }
