// c_Url: a URL text split into scheme, user, domain, port, path, query and
// fragment, as a request does with the text it is given.

#include <cstdlib>

#include "framework/http/url.h"
#include "runtime/gc.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartRuntime();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    String text = BytesAsText(data, size);
    c_Url* url = (new c_Url)->m_new(text, String("http"), 80);
    // Every part is a piece of the text, the path keeps its leading "/" and
    // the full path is the path with the query and the fragment.
    String full = url->p_FullPath();
    if (!url->m_path.StartsWith(String("/")) || !full.StartsWith(url->m_path)) std::abort();
    if (url->p_Domain().Length() > text.Length() || full.Length() > text.Length() + 1) std::abort();
    CollectGarbage();
    return 0;
}
