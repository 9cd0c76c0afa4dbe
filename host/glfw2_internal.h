#pragma once

// Shared by the parts of the GLFW 2.7 layer; not for its users.
namespace glfw2 {

// The 2.7 code of a GLFW 3 key event, KEY_UNKNOWN when 2.7 has none. A key
// keeps the code it was pressed with until its release, so a layout change
// while it is held leaves no key down.
int CodeOfKeyEvent(int key3, int action);

// The held GLFW 3 key that was pressed with a 2.7 code, GLFW_KEY_UNKNOWN when
// there is none.
int HeldKeyWithCode(int key2);

// A new window starts with every key up.
void ForgetHeldKeys();

}  // namespace glfw2
