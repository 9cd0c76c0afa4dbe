#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/audio_decoding.h"
#include "host/kp_glfw_game.h"
#include "tests/host/temp_folder.h"

namespace {

std::string U16(unsigned value) { return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8 & 0xFF)}; }

std::string U32(std::uint32_t value) { return U16(value & 0xFFFF) + U16(value >> 16); }

std::uint32_t ReadU32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// The tune the asset tools write, an Ogg Vorbis stream.
std::string Tune() {
    std::ifstream tune(DATA_FOLDER "/sfx/Agile.ogg", std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(tune)), std::istreambuf_iterator<char>());
}

// The length of the pages before the first sound: the ones of granule
// position 0, which hold the three Vorbis headers.
std::size_t HeaderPagesLength(const std::string& ogg) {
    std::size_t at = 0;
    while (ogg.compare(at, 4, "OggS") == 0 && ReadU32(ogg, at + 6) == 0 && ReadU32(ogg, at + 10) == 0) {
        int segments = static_cast<unsigned char>(ogg[at + 26]);
        std::size_t body = 0;
        for (int i = 0; i < segments; ++i) body += static_cast<unsigned char>(ogg[at + 27 + i]);
        at += 27 + segments + body;
    }
    return at;
}

std::string Chunk(const std::string& tag, const std::string& body) {
    std::string chunk = tag + U32(static_cast<std::uint32_t>(body.size())) + body;
    if (body.size() % 2) chunk += '\0';
    return chunk;
}

struct WaveLayout {
    unsigned formatTag = 1;
    unsigned channels = 2;
    unsigned bits = 16;
    std::string formatExtra;
    std::string beforeData;
    std::string samples = std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
};

std::string Wave(const WaveLayout& layout) {
    std::string format = U16(layout.formatTag) + U16(layout.channels) + U32(22050) + U32(88200) +
                         U16(layout.channels * layout.bits / 8) + U16(layout.bits) + layout.formatExtra;
    std::string body = "WAVE" + Chunk("fmt ", format) + layout.beforeData + Chunk("data", layout.samples);
    return "RIFF" + U32(static_cast<std::uint32_t>(body.size())) + body;
}

class FileLoading : public ::testing::Test {
protected:
    struct Audio {
        unsigned char* samples = nullptr;
        int length = -1, channels = -1, format = -1, hertz = -1;
        int reported = 0;
    };

    Audio LoadAudio(const std::string& name, const std::string& bytes) {
        folder.Write(name, bytes);
        Audio audio;
        int before = gc_ext_new_bytes.load();
        audio.samples = host.LoadAudioData(String(folder.File(name).c_str()), &audio.length, &audio.channels,
                                           &audio.format, &audio.hertz);
        audio.reported = gc_ext_new_bytes.load() - before;
        loaded.push_back(audio.samples);
        return audio;
    }

    void TearDown() override {
        for (unsigned char* block : loaded) std::free(block);
    }

    KpGlfwGame host;
    TempFolder folder;
    std::vector<unsigned char*> loaded;
};

TEST_F(FileLoading, WaveSamplesArePassedOnAsStored) {
    WaveLayout layout;
    layout.beforeData = Chunk("LIST", "odd") + Chunk("fact", "1234");
    layout.formatExtra = U16(0);
    Audio audio = LoadAudio("jump.wav", Wave(layout));
    ASSERT_NE(audio.samples, nullptr);
    EXPECT_EQ(audio.length, 2);
    EXPECT_EQ(audio.channels, 2);
    EXPECT_EQ(audio.format, 2);
    EXPECT_EQ(audio.hertz, 22050);
    EXPECT_EQ(std::memcmp(audio.samples, layout.samples.data(), 8), 0);
    EXPECT_EQ(audio.reported, 8);
}

TEST_F(FileLoading, BadWaveFilesGiveNothing) {
    auto with = [](auto change) {
        WaveLayout layout;
        change(layout);
        return Wave(layout);
    };
    std::string good = Wave(WaveLayout());
    std::string oversize = good.substr(0, good.size() - 12) + U32(0xFFFFFFF0u) + std::string(8, '\0');
    const std::pair<const char*, std::string> cases[] = {
        {"float samples", with([](WaveLayout& s) { s.formatTag = 3; })},
        {"no channels", with([](WaveLayout& s) { s.channels = 0; })},
        {"4-bit samples", with([](WaveLayout& s) { s.bits = 4; })},
        {"not RIFF", "RIFX" + good.substr(4)},
        {"not WAVE", good.substr(0, 8) + "AVI " + good.substr(12)},
        {"ends before data", good.substr(0, 36)},
        {"short data", good.substr(0, good.size() - 3)},
        {"data larger than the file", oversize},
        {"empty file", ""},
    };
    for (const auto& [name, bytes] : cases) {
        Audio audio = LoadAudio("bad.wav", bytes);
        EXPECT_EQ(audio.samples, nullptr) << name;
        EXPECT_EQ(audio.reported, 0) << name;
    }
}

TEST_F(FileLoading, AudioExtensionIsCaseBlind) {
    std::string wave = Wave(WaveLayout());
    EXPECT_NE(LoadAudio("a.Wav", wave).samples, nullptr);
    EXPECT_NE(LoadAudio("b.WAV", wave).samples, nullptr);
    EXPECT_EQ(LoadAudio("c.wave", wave).samples, nullptr);
    EXPECT_EQ(LoadAudio("d.ogg", wave).samples, nullptr) << "a WAVE file is no Ogg stream";
}

TEST_F(FileLoading, OggStreamDecodesToSixteenBitSamples) {
    std::string bytes = Tune();
    ASSERT_FALSE(bytes.empty()) << "the asset tools write the tune";
    Audio audio = LoadAudio("tune.OGG", bytes);
    ASSERT_NE(audio.samples, nullptr);
    EXPECT_EQ(audio.format, 2);
    EXPECT_GE(audio.channels, 1);
    EXPECT_GE(audio.hertz, 22050);
    EXPECT_GE(audio.length, audio.hertz * 60);
    EXPECT_EQ(audio.reported, audio.length * audio.channels * 2);
}

// The decoder trusts the comment header's count and lengths: these once
// overflowed its list or left it null for its cleanup to read.
TEST_F(FileLoading, OggWithALyingCommentHeaderGivesNothing) {
    std::string tune = Tune();
    std::size_t comments = tune.find("\x03vorbis");
    ASSERT_NE(comments, std::string::npos);
    std::size_t vendorLength = comments + 7;
    std::size_t count = vendorLength + 4 + ReadU32(tune, vendorLength);
    auto with = [&](std::size_t at, std::uint32_t value) { return tune.substr(0, at) + U32(value) + tune.substr(at + 4); };
    const std::pair<const char*, std::string> cases[] = {
        {"a count whose list cannot be had", with(count, 0x7FFFFFFF)},
        {"a count whose list size wraps to 8 bytes", with(count, 0x20000001)},
        {"a comment longer than the header", with(count + 4, 0x7FFFFF00)},
        {"a vendor text of 2^32 - 1 bytes", with(vendorLength, 0xFFFFFFFF)},
    };
    for (const auto& [name, bytes] : cases) {
        Audio audio = LoadAudio("damaged.ogg", bytes);
        EXPECT_EQ(audio.samples, nullptr) << name;
        EXPECT_EQ(audio.reported, 0) << name;
    }
}

// As an interrupted copy leaves it: no sound, at most an empty one. Some
// cuts inside the setup header once leaked the decoder's scratch memory,
// which the sanitized build reports. Read from memory: there are thousands.
TEST(OggDecoding, CutInsideItsHeadersGivesNoSound) {
    std::string tune = Tune();
    std::size_t headers = HeaderPagesLength(tune);
    ASSERT_GT(headers, 0u);
    for (std::size_t cut = 0; cut < headers; ++cut) {
        FILE* file = fmemopen(tune.data(), cut, "rb");
        ASSERT_NE(file, nullptr);
        DecodedAudio audio = DecodeOgg(file);
        std::fclose(file);
        EXPECT_TRUE(audio.samples == nullptr || audio.length == 0) << cut;
        std::free(audio.samples);
    }
}

// stb_image would take these too, and it takes any damaged file for a TGA,
// whose header can claim 2 GB of pixels that take minutes to fill.
TEST_F(FileLoading, OnlyPngImagesLoad) {
    const unsigned char rgb[] = {1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(stbi_write_png(folder.File("a.png").c_str(), 2, 1, 3, rgb, 6));
    ASSERT_TRUE(stbi_write_tga(folder.File("a.tga").c_str(), 2, 1, 3, rgb));
    ASSERT_TRUE(stbi_write_bmp(folder.File("a.bmp").c_str(), 2, 1, 3, rgb));
    for (const char* name : {"a.png", "a.tga", "a.bmp"}) {
        int width = 0, height = 0, components = 0;
        unsigned char* pixels = host.LoadImageData(String(folder.File(name).c_str()), &width, &height, &components);
        loaded.push_back(pixels);
        EXPECT_EQ(pixels != nullptr, std::string(name) == "a.png") << name;
    }
}

TEST_F(FileLoading, ImagesKeepTheirOwnChannelCount) {
    const unsigned char rgba[] = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 9, 8, 7, 6, 1, 2, 3, 4, 5, 6, 7, 8};
    const unsigned char greyAlpha[] = {10, 20, 30, 40};
    ASSERT_TRUE(stbi_write_png(folder.File("rgba.png").c_str(), 3, 2, 4, rgba, 12));
    ASSERT_TRUE(stbi_write_png(folder.File("ga.png").c_str(), 2, 1, 2, greyAlpha, 4));

    struct Case {
        const char* name;
        int width, height, components;
        const unsigned char* pixels;
    };
    for (Case c : {Case{"rgba.png", 3, 2, 4, rgba}, Case{"ga.png", 2, 1, 2, greyAlpha}}) {
        int width = 0, height = 0, components = 0;
        int before = gc_ext_new_bytes.load();
        unsigned char* pixels = host.LoadImageData(String(folder.File(c.name).c_str()), &width, &height, &components);
        loaded.push_back(pixels);
        ASSERT_NE(pixels, nullptr) << c.name;
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
        EXPECT_EQ(components, c.components);
        EXPECT_EQ(std::memcmp(pixels, c.pixels, static_cast<std::size_t>(width * height * components)), 0);
        EXPECT_EQ(gc_ext_new_bytes.load() - before, width * height * components);
    }
    folder.Write("broken.png", "\x89PNG garbage");
    int width, height, components;
    EXPECT_EQ(host.LoadImageData(String(folder.File("broken.png").c_str()), &width, &height, &components), nullptr);
}

TEST_F(FileLoading, DataAndTextLoadWhole) {
    std::string bytes;
    for (int i = 0; i < 5000; ++i) bytes += static_cast<char>(i * 7);
    folder.Write("level.bin", bytes);
    int length = 0;
    int before = gc_ext_new_bytes.load();
    unsigned char* data = host.LoadData(String(folder.File("level.bin").c_str()), &length);
    loaded.push_back(data);
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(length, 5000);
    EXPECT_EQ(std::memcmp(data, bytes.data(), 5000), 0);
    EXPECT_EQ(gc_ext_new_bytes.load() - before, 5000);

    folder.Write("empty.bin", "");
    unsigned char* empty = host.LoadData(String(folder.File("empty.bin").c_str()), &length);
    loaded.push_back(empty);
    EXPECT_NE(empty, nullptr);
    EXPECT_EQ(length, 0);

    folder.Write("text.txt", "\xEF\xBB\xBFgr\xC3\xBC\xC3\x9F");
    EXPECT_EQ(host.LoadString(String(folder.File("text.txt").c_str())).ToUtf8(), "gr\xC3\xBC\xC3\x9F");
}

// Lengths count in ints; a larger file would come back with a negative one.
// Sparse, so the test writes nothing and the refusal reads nothing.
TEST_F(FileLoading, AFileLargerThanALengthCountsIsRefused) {
    std::string huge = folder.Write("huge.bin", "");
    std::filesystem::resize_file(huge, 1ull << 31);
    int length = 7;
    EXPECT_EQ(host.LoadData(String(huge.c_str()), &length), nullptr);
    EXPECT_EQ(length, 7) << "left as it was";
    EXPECT_EQ(host.LoadString(String(huge.c_str())).Length(), 0);
}

}  // namespace
