#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resources/EmbeddedResource.h"
#include "resources/ImageResources.h"

namespace {

constexpr unsigned char kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

std::uint32_t BigEndian(const unsigned char* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

std::vector<unsigned char> CommittedFile(const char* fileName) {
  std::ifstream in(std::string(BREL_SOURCE_DIR) + "/" + fileName, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

struct LayoutImage {
  int id;
  std::uint32_t width;
  std::uint32_t height;
  int frames;
};

// The editor layout's images: every strip must have exactly these dimensions.
constexpr LayoutImage kLayoutImages[] = {
    {103, 904, 416, 1},   {101, 128, 30720, 240}, {104, 80, 19200, 240}, {105, 100, 200, 2},
    {122, 56, 112, 2},    {108, 264, 136, 1},     {117, 264, 136, 1},    {109, 264, 32640, 240},
    {111, 264, 8160, 60}, {112, 264, 8160, 60},   {124, 16, 32, 2},      {123, 16, 32, 2},
    {106, 264, 136, 1},   {107, 264, 136, 1},     {118, 50, 100, 2},     {119, 50, 100, 2},
    {120, 50, 100, 2},    {121, 50, 100, 2},
};

const ImageResource* ManifestEntry(int id) {
  for (const ImageResource& image : kImageResources)
    if (image.id == id) return &image;
  return nullptr;
}

TEST(EmbeddedResource, EveryListedImageIsEmbeddedByteForByte) {
  for (const ImageResource& image : kImageResources) {
    SCOPED_TRACE(image.fileName);
    const EmbeddedResource* resource = FindEmbeddedResource(image.id);
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(resource->id, image.id);
    EXPECT_STREQ(resource->fileName, image.fileName);
    ASSERT_GT(resource->size, sizeof(kPngSignature));
    EXPECT_EQ(std::memcmp(resource->data, kPngSignature, sizeof(kPngSignature)), 0);
    const std::vector<unsigned char> committed = CommittedFile(image.fileName);
    ASSERT_EQ(resource->size, committed.size());
    EXPECT_EQ(std::memcmp(resource->data, committed.data(), committed.size()), 0);
  }
}

TEST(EmbeddedResource, UnknownIdsFindNothing) {
  for (int id : {0, -1, 100, 102, 110, 113, 116, 125, INT_MAX, INT_MIN})
    EXPECT_EQ(FindEmbeddedResource(id), nullptr);
}

TEST(EmbeddedResource, ImagesAreRgbaStripsOfTheLayoutsSizes) {
  ASSERT_EQ(std::size(kImageResources), std::size(kLayoutImages));
  for (const LayoutImage& expected : kLayoutImages) {
    SCOPED_TRACE(expected.id);
    const ImageResource* listed = ManifestEntry(expected.id);
    const EmbeddedResource* resource = FindEmbeddedResource(expected.id);
    ASSERT_NE(listed, nullptr);
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(listed->frames, expected.frames);
    // The first chunk of a PNG is IHDR: width, height, bit depth, colour type, ..., interlace.
    ASSERT_GE(resource->size, 33u);
    const unsigned char* ihdr = resource->data + 8;
    EXPECT_EQ(BigEndian(ihdr), 13u);
    EXPECT_EQ(std::memcmp(ihdr + 4, "IHDR", 4), 0);
    EXPECT_EQ(BigEndian(ihdr + 8), expected.width);
    EXPECT_EQ(BigEndian(ihdr + 12), expected.height);
    EXPECT_EQ(ihdr[16], 8) << "bits per channel";
    EXPECT_EQ(ihdr[17], 6) << "colour type RGBA";
    EXPECT_EQ(ihdr[20], 0) << "not interlaced";
    EXPECT_EQ(expected.height % expected.frames, 0u);
  }
}

}  // namespace
