#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cmnw32/sysver.h"
#include "common/test_support.h"
#include "version/pe_version.h"

namespace {

using cmnw::version::FindVersionResource;
using cmnw::version::MemorySource;
using cmnw::version::PrepareVersionBlock;
using cmnw::version::QueryVersionValue;
using cmnw::version::ResourceSpan;
using cmnw::version::VersionBlockSize;

const std::string kFixtures = CMNW_TEST_SOURCE_DIR "/tests/fixtures/version/";

// The version block of the file at path, empty when it has none.
std::vector<uint64_t> ReadBlock(const std::string &path) {
    uint32_t handle = 99;
    const uint32_t size = SYSGetFileVersionInfoSize(path.c_str(), &handle);
    EXPECT_EQ(handle, 0u);
    if (size == 0) return {};
    std::vector<uint64_t> block((size + 7) / 8);
    EXPECT_EQ(SYSGetFileVersionInfo(path.c_str(), 0, size - 1, block.data()), 0);  // too small
    EXPECT_EQ(SYSGetFileVersionInfo(path.c_str(), 0, size, block.data()), 1);
    return block;
}

std::string Text(const void *block, const char *subBlock) {
    void *value = nullptr;
    uint32_t length = 0;
    if (SYSVerQueryValue(block, subBlock, &value, &length) == 0) return "<none>";
    EXPECT_EQ(length, std::strlen(static_cast<const char *>(value)) + 1) << subBlock;
    return static_cast<const char *>(value);
}

TEST(PeVersion, ReadsFixedInfoTranslationsAndStrings) {
    std::vector<uint64_t> block = ReadBlock(kFixtures + "verinfo.dll");
    ASSERT_FALSE(block.empty());
    void *value = nullptr;
    uint32_t length = 0;
    ASSERT_EQ(SYSVerQueryValue(block.data(), "\\", &value, &length), 1);
    ASSERT_EQ(length, sizeof(SYSFixedFileInfo));
    SYSFixedFileInfo fixed;
    std::memcpy(&fixed, value, sizeof fixed);
    EXPECT_EQ(fixed.signature, 0xFEEF04BDu);
    EXPECT_EQ(fixed.fileVersionMS, 0x000B0002u);
    EXPECT_EQ(fixed.fileVersionLS, 0x000000DEu);
    EXPECT_EQ(fixed.productVersionMS, 0x000B0002u);

    ASSERT_EQ(SYSVerQueryValue(block.data(), "\\VarFileInfo\\Translation", &value, &length), 1);
    ASSERT_EQ(length, 8u);
    const uint8_t want[] = {0x09, 0x04, 0xE4, 0x04, 0x07, 0x04, 0xE4, 0x04};
    EXPECT_EQ(std::memcmp(value, want, 8), 0);

    const struct {
        const char *subBlock;
        const char *text;
    } cases[] = {
        {"\\stringfileinfo\\040904E4\\companyname", "Example Composition Works"},
        {"StringFileInfo\\040904e4\\Description", "Common utilities"},
        {"\\StringFileInfo\\040904e4\\ProductName",
         "Document Composer \xe9t\xe9"},  // code page 1252
        {"\\StringFileInfo\\040704e4\\CompanyName", "Beispielwerke"},
        {"\\StringFileInfo\\040704e4\\ProductName", "<none>"},
        {"\\StringFileInfo\\040904e4\\Company", "<none>"},
        {"\\StringFileInfo\\000004e4\\CompanyName", "<none>"},
    };
    for (const auto &c : cases) EXPECT_EQ(Text(block.data(), c.subBlock), c.text) << c.subBlock;
    EXPECT_EQ(SYSVerQueryValue(block.data(), nullptr, &value, &length), 0);
    EXPECT_EQ(value, nullptr);
    EXPECT_EQ(length, 0u);
}

// The fourth part of the file version of the resource chosen in image.
int ChosenLanguageMark(const std::string &image) {
    ResourceSpan span{};
    if (!FindVersionResource(MemorySource(image.data(), image.size()), span)) return -1;
    std::vector<uint64_t> block((VersionBlockSize(span.size) + 7) / 8);
    std::memcpy(block.data(), image.data() + span.offset, span.size);
    auto *bytes = reinterpret_cast<uint8_t *>(block.data());
    const void *value = nullptr;
    uint32_t length = 0;
    if (!PrepareVersionBlock(bytes, VersionBlockSize(span.size), span.size) ||
        !QueryVersionValue(bytes, "\\", &value, &length))
        return -1;
    SYSFixedFileInfo fixed;
    std::memcpy(&fixed, value, sizeof fixed);
    return static_cast<int>(fixed.fileVersionLS & 0xFFFF);
}

// Of several resource languages: 0x0000, then 0x0400, then 0x0800, then
// 0x0409, then the first in the file.
TEST(PeVersion, ChoosesTheResourceLanguage) {
    const std::string image = cmnw::test::ReadFile(kFixtures + "multilang.dll");
    // The three language entries (id, then offset) of the fixture's tree.
    const std::string greek("\x08\x04\0\0", 4), english("\x09\x04\0\0", 4),
        russian("\x19\x04\0\0", 4);
    size_t at = 0;
    while ((at = image.find(greek, at)) != std::string::npos &&
           (image.compare(at + 8, 4, english) != 0 || image.compare(at + 16, 4, russian) != 0))
        ++at;
    ASSERT_NE(at, std::string::npos);
    const struct {
        uint16_t ids[3];
        int chosen;  // 8 Greek, 9 English, 25 Russian resource
    } cases[] = {
        {{0x0408, 0x0409, 0x0419}, 9},  {{0x0408, 0x0407, 0x0419}, 8},
        {{0x0408, 0x0409, 0x0800}, 25}, {{0x0408, 0x0400, 0x0800}, 9},
        {{0x0400, 0x0409, 0x0000}, 25}, {{0x0409, 0x0409, 0x0400}, 25},
    };
    for (const auto &c : cases) {
        std::string patched = image;
        for (int i = 0; i < 3; ++i) {
            patched[at + 8 * i] = static_cast<char>(c.ids[i] & 0xFF);
            patched[at + 8 * i + 1] = static_cast<char>(c.ids[i] >> 8);
        }
        EXPECT_EQ(ChosenLanguageMark(patched), c.chosen)
            << std::hex << c.ids[0] << " " << c.ids[1] << " " << c.ids[2];
    }
}

// Every truncation and a damaged byte at every offset: the reader either
// finds a resource inside the image or none, and queries stay in the block.
TEST(PeVersion, DamagedAndTruncatedImagesStayInBounds) {
    std::string image = cmnw::test::ReadFile(kFixtures + "verinfo.dll");
    ASSERT_FALSE(image.empty());
    auto probe = [](const std::string &bytes, size_t size) {
        ResourceSpan span{};
        if (!FindVersionResource(MemorySource(bytes.data(), size), span)) return;
        ASSERT_LE(span.offset + span.size, size);
        std::vector<uint64_t> block((VersionBlockSize(span.size) + 7) / 8);
        std::memcpy(block.data(), bytes.data() + span.offset, span.size);
        auto *bytesOut = reinterpret_cast<uint8_t *>(block.data());
        if (!PrepareVersionBlock(bytesOut, VersionBlockSize(span.size), span.size)) return;
        for (const char *sub :
             {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\040904e4\\ProductName",
              "\\a\\b\\c\\d\\e\\f\\g\\h"}) {
            const void *value = nullptr;
            uint32_t length = 0;
            if (QueryVersionValue(bytesOut, sub, &value, &length)) {
                const auto *v = static_cast<const uint8_t *>(value);
                ASSERT_GE(v, bytesOut);
                ASSERT_LE(v + length, bytesOut + block.size() * 8);
            }
        }
    };
    for (size_t size = 0; size <= image.size(); ++size) probe(image, size);
    for (size_t at = 0; at < image.size(); ++at) {
        for (char b : {'\0', '\xff', '\x7f'}) {
            std::string damaged = image;
            damaged[at] = b;
            probe(damaged, damaged.size());
        }
    }
}

}  // namespace
