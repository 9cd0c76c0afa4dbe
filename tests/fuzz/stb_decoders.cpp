// stb_image and stb_vorbis built from their sources with the fuzz
// instrumentation, so coverage guides the fuzzer inside the decoders and the
// sanitizers watch them. The targets' own definitions take the place of the
// shared library's.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
#include <stb/stb_vorbis.h>
