#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
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

struct PngHeader {
  std::uint32_t width;
  std::uint32_t height;
  int bitDepth;
  int colourType;
  int interlace;
};

// The first chunk of a PNG is IHDR: width, height, bit depth, colour type, ..., interlace.
bool ReadHeader(const EmbeddedResource& resource, PngHeader& header) {
  if (resource.size < 33) return false;
  const unsigned char* ihdr = resource.data + 8;
  if (BigEndian(ihdr) != 13u || std::memcmp(ihdr + 4, "IHDR", 4) != 0) return false;
  header = {BigEndian(ihdr + 8), BigEndian(ihdr + 12), ihdr[16], ihdr[17], ihdr[20]};
  return true;
}

const ImageResource* ManifestEntry(int id) {
  for (const ImageResource& image : kImageResources)
    if (image.id == id) return &image;
  return nullptr;
}

TEST(EmbeddedResource, EveryListedImageAndItsTwinAreEmbeddedByteForByte) {
  for (const ImageResource& image : kImageResources) {
    for (const auto& [id, fileName] : {std::pair{image.id, image.fileName},
                                       std::pair{image.id + kHiResImageIdOffset, image.hiResFileName}}) {
      SCOPED_TRACE(fileName);
      const EmbeddedResource* resource = FindEmbeddedResource(id);
      ASSERT_NE(resource, nullptr);
      EXPECT_EQ(resource->id, id);
      EXPECT_STREQ(resource->fileName, fileName);
      ASSERT_GT(resource->size, sizeof(kPngSignature));
      EXPECT_EQ(std::memcmp(resource->data, kPngSignature, sizeof(kPngSignature)), 0);
      const std::vector<unsigned char> committed = CommittedFile(fileName);
      ASSERT_EQ(resource->size, committed.size());
      EXPECT_EQ(std::memcmp(resource->data, committed.data(), committed.size()), 0);
    }
  }
}

TEST(EmbeddedResource, EachTwinIsItsImageAtTwiceTheWidthAndHeight) {
  for (const ImageResource& image : kImageResources) {
    SCOPED_TRACE(image.hiResFileName);
    const EmbeddedResource* resource = FindEmbeddedResource(image.id);
    const EmbeddedResource* twin = FindEmbeddedResource(image.id + kHiResImageIdOffset);
    ASSERT_NE(resource, nullptr);
    ASSERT_NE(twin, nullptr);
    PngHeader header, twinHeader;
    ASSERT_TRUE(ReadHeader(*resource, header));
    ASSERT_TRUE(ReadHeader(*twin, twinHeader));
    EXPECT_EQ(twinHeader.width, 2 * header.width);
    EXPECT_EQ(twinHeader.height, 2 * header.height);
    EXPECT_EQ(twinHeader.bitDepth, 8);
    EXPECT_EQ(twinHeader.colourType, 6) << "RGBA";
    EXPECT_EQ(twinHeader.interlace, 0);
  }
}

TEST(EmbeddedResource, UnknownIdsFindNothing) {
  for (int id : {0, -1, 100, 102, 110, 113, 116, 125, 1000, 1102, 1125, 2101, INT_MAX, INT_MIN})
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
    PngHeader header;
    ASSERT_TRUE(ReadHeader(*resource, header));
    EXPECT_EQ(header.width, expected.width);
    EXPECT_EQ(header.height, expected.height);
    EXPECT_EQ(header.bitDepth, 8) << "bits per channel";
    EXPECT_EQ(header.colourType, 6) << "colour type RGBA";
    EXPECT_EQ(header.interlace, 0) << "not interlaced";
    EXPECT_EQ(expected.height % expected.frames, 0u);
  }
}

}  // namespace
