#pragma once

// Shared by the parts of the GLFW 2.7 layer; not for its users.
namespace glfw2 {

// The GLFW 3 key of a 2.7 code, GLFW_KEY_UNKNOWN when there is none.
int KeyToGlfw3(int key2);

}  // namespace glfw2
