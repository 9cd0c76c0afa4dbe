#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "../host/temp_folder.h"
#include "framework/asyncevent/thread.h"
#include "framework/http/data_buffer.h"
#include "host/kp_game.h"
#include "tests/support/runtime_error.h"

namespace {

c_DataBuffer* Buffer(int length) { return (new c_DataBuffer)->m_new(length); }

c_DataBuffer* Holding(const std::vector<int>& bytes) {
    c_DataBuffer* buffer = Buffer(static_cast<int>(bytes.size()));
    Array<int> values(static_cast<int>(bytes.size()));
    for (size_t i = 0; i < bytes.size(); ++i) values[static_cast<int>(i)] = bytes[i];
    buffer->p_PokeBytes(0, values, 0, values.Length());
    return buffer;
}

std::vector<int> Peek(c_DataBuffer* buffer) {
    Array<int> values = buffer->p_PeekBytes2(0, buffer->Length());
    return std::vector<int>(values.Data(), values.Data() + values.Length());
}

std::u16string Units(const String& text) { return std::u16string(text.Data(), text.Length()); }

struct PokeCase {
    const char* name;
    int address, offset, count;
    std::vector<int> after;
};

class PokeClipping : public ::testing::TestWithParam<PokeCase> {};

// Five values 1..5 poked into eight zero bytes.
TEST_P(PokeClipping, WritesOnlyWhatFitsInBoth) {
    const PokeCase& c = GetParam();
    c_DataBuffer* buffer = Buffer(8);
    Array<int> values(5);
    for (int i = 0; i < 5; ++i) values[i] = i + 1;
    buffer->p_PokeBytes(c.address, values, c.offset, c.count);
    EXPECT_EQ(Peek(buffer), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    DataBuffer, PokeClipping,
    ::testing::Values(PokeCase{"Whole", 1, 0, 5, {0, 1, 2, 3, 4, 5, 0, 0}},
                      PokeCase{"PastTheBufferEnd", 6, 0, 5, {0, 0, 0, 0, 0, 0, 1, 2}},
                      PokeCase{"PastTheArrayEnd", 0, 3, 5, {4, 5, 0, 0, 0, 0, 0, 0}},
                      PokeCase{"AtTheBufferEnd", 8, 0, 1, {0, 0, 0, 0, 0, 0, 0, 0}},
                      PokeCase{"NegativeAddress", -1, 0, 3, {0, 0, 0, 0, 0, 0, 0, 0}},
                      PokeCase{"NegativeOffset", 0, -1, 3, {0, 0, 0, 0, 0, 0, 0, 0}},
                      PokeCase{"NegativeCount", 0, 0, -1, {0, 0, 0, 0, 0, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DataBuffer, PeeksSignedBytesClipped) {
    c_DataBuffer* buffer = Holding({200, 255, 127, 0x1FF});
    EXPECT_EQ(Peek(buffer), (std::vector<int>{-56, -1, 127, -1}));
    EXPECT_EQ(buffer->p_PeekBytes2(2, 10).Length(), 2);
    EXPECT_EQ(buffer->p_PeekBytes2(5, 1).Length(), 0);
    Array<int> into(3);
    buffer->p_PeekBytes(1, into, 1, 5);
    EXPECT_EQ(std::vector<int>(into.Data(), into.Data() + 3), (std::vector<int>{0, -1, 127}));
}

TEST(DataBuffer, CopiesOverlappingRunsAndClipsAtTheTarget) {
    auto text = [](c_DataBuffer* b) { return b->p_PeekString2(0, String("ascii")); };
    c_DataBuffer* forward = Buffer(8);
    forward->p_PokeString(0, String("abcdefgh"), String("ascii"));
    forward->p_CopyBytes(0, forward, 2, 4);
    EXPECT_EQ(text(forward), String("ababcdgh"));

    c_DataBuffer* backward = Buffer(8);
    backward->p_PokeString(0, String("abcdefgh"), String("ascii"));
    backward->p_CopyBytes(2, backward, 0, 4);
    EXPECT_EQ(text(backward), String("cdefefgh"));

    c_DataBuffer* small = Buffer(4);
    backward->p_CopyBytes(6, small, 1, 5);
    EXPECT_EQ(Peek(small), (std::vector<int>{0, 'g', 'h', 0}));
}

TEST(DataBuffer, PokeStringReturnsTheWholeLengthAndWritesWhatFits) {
    c_DataBuffer* buffer = Buffer(4096);
    EXPECT_EQ(buffer->p_PokeString(4090, String("0123456789"), String("ascii")), 10);
    EXPECT_EQ(buffer->p_PeekString2(4088, String("ascii")), String(u"\0\0" "012345", 8));
    EXPECT_EQ(buffer->p_PokeString(5000, String("abc"), String("utf8")), 3);
}

struct EncodeCase {
    const char* name;
    std::u16string text;
    const char* encoding;
    std::vector<int> bytes;
};

class Encode : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(Encode, WritesTheBytes) {
    const EncodeCase& c = GetParam();
    c_DataBuffer* buffer = Buffer(static_cast<int>(c.bytes.size()));
    String text(c.text.data(), static_cast<int>(c.text.size()));
    EXPECT_EQ(buffer->p_PokeString(0, text, String(c.encoding)), static_cast<int>(c.bytes.size()));
    std::vector<int> got = Peek(buffer);
    for (int& b : got) b &= 0xFF;
    EXPECT_EQ(got, c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    DataBuffer, Encode,
    ::testing::Values(EncodeCase{"AsciiKeepsTheLowByte", u"A\u00E9\u0141", "ascii", {0x41, 0xE9, 0x41}},
                      EncodeCase{"Utf8TwoBytes", u"\u00E9", "utf8", {0xC3, 0xA9}},
                      EncodeCase{"Utf8ThreeBytes", u"a\u20AC", "utf8", {0x61, 0xE2, 0x82, 0xAC}},
                      EncodeCase{"Utf8SurrogatesOneByOne", u"\U0001F600", "utf8", {0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80}}),
    [](const auto& info) { return std::string(info.param.name); });

struct DecodeCase {
    const char* name;
    std::vector<int> bytes;
    const char* encoding;
    std::u16string text;
};

class Decode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Decode, ReadsTheCharacters) {
    const DecodeCase& c = GetParam();
    c_DataBuffer* buffer = Holding(c.bytes);
    EXPECT_EQ(Units(buffer->p_PeekString(0, buffer->Length(), String(c.encoding))), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    DataBuffer, Decode,
    ::testing::Values(DecodeCase{"Utf8TwoBytes", {0xC3, 0xA9}, "utf8", u"\u00E9"},
                      DecodeCase{"Utf8ThreeBytes", {0x61, 0xE2, 0x82, 0xAC}, "utf8", u"a\u20AC"},
                      DecodeCase{"LoneLeadFallsBackToSignedBytes", {0xE9}, "utf8", u"\uFFE9"},
                      DecodeCase{"OneFaultTurnsTheWholeCall", {0x41, 0xC3, 0xA9, 0x80}, "utf8", u"A\uFFC3\uFFA9\uFF80"},
                      DecodeCase{"BadContinuation", {0xC3, 0x41}, "utf8", u"\uFFC3A"},
                      DecodeCase{"CutAtTheEnd", {0x61, 0xE2, 0x82}, "utf8", u"a\uFFE2\uFF82"},
                      DecodeCase{"FourByteLead", {0xF0, 0x9F, 0x98, 0x80}, "utf8", u"\uFFF0\uFF9F\uFF98\uFF80"},
                      DecodeCase{"AsciiIsLatin1", {0x41, 0xE9}, "ascii", u"A\u00E9"},
                      DecodeCase{"Empty", {}, "utf8", u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DataBuffer, PeekStringIsClipped) {
    c_DataBuffer* buffer = Buffer(4);
    buffer->p_PokeString(0, String("abcd"), String("ascii"));
    EXPECT_EQ(buffer->p_PeekString(2, 10, String("ascii")), String("cd"));
    EXPECT_EQ(buffer->p_PeekString(-1, 2, String("ascii")), String());
    EXPECT_EQ(buffer->p_PeekString2(1, String("utf8")), String("bcd"));
}

TEST(DataBuffer, LoadsAFileAndDiscardsIt) {
    static KpGame host;
    TempFolder folder;
    std::string path = folder.Write("bytes.bin", std::string("a\0b", 3));
    c_DataBuffer* buffer = c_DataBuffer::m_Load(String(path.c_str()));
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(Peek(buffer), (std::vector<int>{'a', 0, 'b'}));
    EXPECT_EQ(c_DataBuffer::m_Load(String(folder.File("missing").c_str())), nullptr);
    buffer->Discard();
    EXPECT_EQ(buffer->Length(), 0);
    EXPECT_EQ(buffer->p_PeekBytes2(0, 3).Length(), 0);
}

// A host whose data folder is a test folder; it notes each thread that
// resolves a path through it.
struct FolderHost : KpGame {
    std::string dataFolder;
    std::mutex guard;
    std::set<std::thread::id> resolvers;

    String PathToFilePath(String path) override {
        {
            std::lock_guard<std::mutex> hold(guard);
            resolvers.insert(std::this_thread::get_id());
        }
        String data("brisko://data/");
        return path.StartsWith(data) ? String(dataFolder.c_str()) + path.Slice(data.Length()) : path;
    }
};

// A thread that loads a buffer from a file named before it starts and
// hands the buffer over as its result.
struct Loader : c_Thread {
    c_DataBuffer* buffer = nullptr;
    std::string file;
    void Run__UNSAFE__() override { buffer->_LoadAsync(file, this); }
    void mark() override { gc_mark(buffer); }
};

// Resolving a path reads the host's folder Strings, whose counts are not
// atomic, so it happens on the main thread; the loader only reads the file.
TEST(DataBuffer, LoadsOnAThreadFromAPathResolvedBeforeAndHandsItselfOver) {
    static FolderHost host;
    TempFolder folder;
    folder.Write("x.bin", "xyz");
    host.dataFolder = folder.path + "/";
    auto* loader = new Loader;
    loader->buffer = new c_DataBuffer;
    loader->file = host.SystemFilePath(String("brisko://data/x.bin"));
    loader->Start();
    for (int i = 0; i < 30000 && loader->runState.load() != 2; ++i) usleep(1000);
    ASSERT_FALSE(loader->IsRunning());
    EXPECT_EQ(loader->Result(), loader->buffer);
    EXPECT_EQ(loader->buffer->p_PeekString2(0, String("ascii")), String("xyz"));
    EXPECT_EQ(host.resolvers, std::set<std::thread::id>{std::this_thread::get_id()});
}

struct FatalCase {
    const char* name;
    std::function<void()> run;
    const char* message;
};

class DataBufferFatal : public ::testing::TestWithParam<FatalCase> {};

TEST_P(DataBufferFatal, StopsTheProgram) { ExpectRuntimeError(GetParam().run, GetParam().message); }

INSTANTIATE_TEST_SUITE_P(
    DataBuffer, DataBufferFatal,
    ::testing::Values(FatalCase{"UnknownEncodingOnRead", [] { Buffer(4)->p_PeekString(0, 4, String("latin1")); },
                                "Invalid string encoding:latin1"},
                      FatalCase{"UnknownEncodingOnWrite", [] { Buffer(4)->p_PokeString(0, String("a"), String("UTF8")); },
                                "Invalid string encoding:UTF8"},
                      FatalCase{"AllocatedTwice", [] { Buffer(4)->m_new(4); }, "Allocate DataBuffer failed"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
