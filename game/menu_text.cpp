#include "game/my_app.h"

Array<String> kp_VTR_MenuSet;
Array<String> kp_VTR_CreditText;

namespace {

const char* const kMenuSet[] = {
    "Slow", "Take things slowly\\nand relax.", "Normal", "Just right!\\nTough, but not hard.", "Fast",
    "Faster than it should be\\nVantaroo!",
};

const char* const kCredits[] = {
    "",
    "A Game by",
    "The Vantaroo team",
    "at Pelk",
    "",
    "-=-=-",
    "",
    "Developed using",
    "C++, OpenGL and OpenAL",
    "on Debian",
    "",
    "-=-=-",
    "",
    "Graphics",
    "",
    "Most graphics by",
    "our own drawing tools",
    "",
    "Font : EditUndo",
    "redrawn as pixels by us",
    "Lowercase added by",
    "the same pixel pen",
    "",
    "",
    "-=-=-",
    "",
    "Audio",
    "",
    "Sound and Music by",
    "our own synthesiser",
    "using",
    "KORG Gadget,",
    "SFXr,",
    "Cool Edit",
    "or whatever else",
    "was handy!",
    "",
    "-=-=-",
    "",
    "",
    "Hello to",
    "everyone who plays",
    "",
    "Thanks to",
    "the testers",
    "the night owls",
    "the kangaroos",
    "the runners",
    "the crumbling floors",
    "the compilers",
    "the debuggers",
    "and the sanitizers",
    "And everyone Else",
    "who shares their games",
    "",
    "-=-=-",
    "End",
};

template <int N> Array<String> TextArray(const char* const (&texts)[N]) {
    Array<String> array(N);
    for (int i = 0; i < N; ++i) array[i] = String(texts[i]);
    return array;
}

}  // namespace

void kp_VTR_init_texts() {
    gc_assign(kp_VTR_MenuSet, TextArray(kMenuSet));
    gc_assign(kp_VTR_CreditText, TextArray(kCredits));
}
