#include <functional>

#include "tests/graphics/module_fixture.h"
#include "tests/support/runtime_error.h"

namespace {

c_Image* NewImage() { return (new c_Image)->m_new(); }

struct ErrorCase {
    const char* name;
    std::function<void()> action;
    const char* message;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class GraphicsError : public GraphicsModuleTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(GraphicsError, EndsTheProgramWithItsMessage) {
    const ErrorCase& c = GetParam();
    ExpectRuntimeError(c.action, std::string(c.message) + "\n");
}

const ErrorCase kCases[] = {
    {"InitTwice",
     [] { NewImage()->p_Init(BlankSurface(8, 8), 1, 0)->p_Init(BlankSurface(8, 8), 1, 0); },
     "Image already initialized"},
    {"GridAfterStrip",
     [] {
         gxtkSurface* surface = BlankSurface(8, 8);
         NewImage()->p_Init(surface, 1, 0)->p_Init2(surface, 0, 0, 4, 4, 1, 0, nullptr, 0, 0, 8, 8);
     },
     "Image already initialized"},
    {"OneFrameTooManyForTheGrid",
     [] { NewImage()->p_Init2(BlankSurface(32, 32), 0, 0, 16, 16, 5, 0, nullptr, 0, 0, 32, 32); },
     "Image frame outside surface"},
    {"FrameWiderThanTheSurface",
     [] { NewImage()->p_Init2(BlankSurface(32, 32), 0, 0, 40, 16, 1, 0, nullptr, 0, 0, 32, 32); },
     "Image frame outside surface"},
    {"FrameTallerThanTheSurface",
     [] { NewImage()->p_Init2(BlankSurface(32, 32), 0, 0, 16, 40, 1, 0, nullptr, 0, 0, 32, 32); },
     "Image frame outside surface"},
    {"StripOfNoFrames", [] { NewImage()->p_Init(BlankSurface(32, 32), 0, 0); },
     "Image frame count must be positive"},
    {"FrameIndexPastTheEnd",
     [] { kp_graphics_DrawImage(NewImage()->p_Init(BlankSurface(8, 8), 2, 0), 0, 0, 2); },
     "Array index out of range"},
    {"NegativeFrameIndex",
     [] { kp_graphics_DrawImage2(NewImage()->p_Init(BlankSurface(8, 8), 2, 0), 0, 0, 0, 1, 1, -1); },
     "Array index out of range"},
    {"PopWithoutPush", [] { kp_graphics_PopMatrix(); }, "Array index out of range"},
    {"MatrixOfFiveValues", [] { kp_graphics_SetMatrix2(Array<float>(5)); }, "Array index out of range"},
    {"NullImage", [] { kp_graphics_DrawImage(nullptr, 0, 0, 0); }, "Null object access"},
    {"DrawingOutsideAFrame", [] { kp_graphics_DrawRect(0, 0, 1, 1); }, "Null object access"},
    {"StateOutsideAFrame", [] { kp_graphics_SetColor(1, 2, 3); }, "Null object access"},
};

INSTANTIATE_TEST_SUITE_P(Graphics, GraphicsError, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

}  // namespace
