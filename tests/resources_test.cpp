// The module's resources: icon group 101 and the version resource.
//
// On Windows the built Brisko.dll is opened as a data file and its resources
// are read back as the host and Explorer read them. Natively the icon file
// the resource is compiled from (resources/brisko.ico) is checked instead.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "emulator/host_emulator.h"
#include "emulator/plugin_module.h"
#include "plugin/version.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace brisko {
namespace {

// The three images, as (width, height, bits per pixel).
using ImageFormat = std::tuple<int, int, int>;
const std::set<ImageFormat> kExpectedImages = {{32, 32, 4}, {16, 16, 8}, {32, 32, 8}};

std::uint16_t u16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t u32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Checks one icon image (BITMAPINFOHEADER, palette, XOR bitmap, AND mask) of
// `size` bytes against its directory entry; returns the share of opaque pixels.
double checkImage(const std::uint8_t* data, std::size_t size, int width, int height, int bpp) {
  const std::size_t colours = std::size_t{1} << bpp;
  const std::size_t xorStride = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
  const std::size_t andStride = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
  const std::size_t expectedSize = 40 + 4 * colours + (xorStride + andStride) * height;
  EXPECT_EQ(size, expectedSize) << width << "x" << height << "x" << bpp;
  if (size != expectedSize) return 0;
  EXPECT_EQ(u32(data), 40u);
  EXPECT_EQ(static_cast<int>(u32(data + 4)), width);
  EXPECT_EQ(static_cast<int>(u32(data + 8)), 2 * height) << "XOR and AND halves";
  EXPECT_EQ(u16(data + 12), 1);
  EXPECT_EQ(u16(data + 14), bpp);
  EXPECT_EQ(u32(data + 16), 0u) << "uncompressed";

  const std::uint8_t* mask = data + 40 + 4 * colours + xorStride * height;
  std::set<int> opaqueColours;
  int opaque = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool transparent = (mask[y * andStride + x / 8] >> (7 - x % 8)) & 1;
      if (transparent) continue;
      ++opaque;
      const std::uint8_t* row = data + 40 + 4 * colours + y * xorStride;
      const int index = bpp == 8 ? row[x] : (x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15);
      opaqueColours.insert(index);
    }
  }
  // Two links in two colours with shading: a picture, not a blank square.
  EXPECT_GE(opaqueColours.size(), 4u) << width << "x" << height << "x" << bpp;
  return static_cast<double>(opaque) / (width * height);
}

#if defined(_WIN32)

class ModuleResources : public ::testing::Test {
 protected:
  void SetUp() override {
    path = emu::PluginModule::besidePath();
    module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << path << " error " << GetLastError();
  }
  void TearDown() override {
    if (module != nullptr) FreeLibrary(module);
  }
  // The bytes of one resource, or empty.
  std::vector<std::uint8_t> resource(LPCSTR type, WORD id) {
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (info == nullptr) return {};
    HGLOBAL loaded = LoadResource(module, info);
    const auto* p = static_cast<const std::uint8_t*>(LockResource(loaded));
    if (p == nullptr) return {};
    return std::vector<std::uint8_t>(p, p + SizeofResource(module, info));
  }

  std::string path;
  HMODULE module = nullptr;
};

TEST_F(ModuleResources, IconGroup101HoldsTheThreeImages) {
  const std::vector<std::uint8_t> group = resource(MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, 101);
  ASSERT_EQ(group.size(), 6u + 3u * 14u);
  EXPECT_EQ(u16(&group[0]), 0);
  EXPECT_EQ(u16(&group[2]), 1) << "an icon, not a cursor";
  ASSERT_EQ(u16(&group[4]), 3);

  std::set<ImageFormat> found;
  for (int i = 0; i < 3; ++i) {
    const std::uint8_t* e = &group[6 + 14 * i];
    const int width = e[0] == 0 ? 256 : e[0];
    const int height = e[1] == 0 ? 256 : e[1];
    const int colourCount = e[2];
    const int bpp = u16(e + 6);
    const std::uint32_t bytes = u32(e + 8);
    const WORD id = u16(e + 12);
    found.emplace(width, height, bpp);
    EXPECT_EQ(colourCount, bpp == 4 ? 16 : 0);
    EXPECT_EQ(u16(e + 4), 1) << "planes";

    // The image itself, as an RT_ICON resource.
    const std::vector<std::uint8_t> image = resource(MAKEINTRESOURCEA(3) /* RT_ICON */, id);
    ASSERT_EQ(image.size(), bytes);
    checkImage(image.data(), image.size(), width, height, bpp);
    // Windows accepts it as an icon.
    HICON icon =
        CreateIconFromResourceEx(const_cast<PBYTE>(image.data()), static_cast<DWORD>(image.size()),
                                 TRUE, 0x00030000, width, height, LR_DEFAULTCOLOR);
    EXPECT_NE(icon, nullptr) << width << "x" << height << "x" << bpp;
    if (icon != nullptr) DestroyIcon(icon);
  }
  EXPECT_EQ(found, kExpectedImages);
}

TEST_F(ModuleResources, VersionIsThePolishVersionResource) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  const DWORD ms = (BRISKO_VERSION_MAJOR << 16) | BRISKO_VERSION_MINOR;
  const DWORD ls = (BRISKO_VERSION_PATCH << 16) | BRISKO_VERSION_TWEAK;
  EXPECT_EQ(ms, 0x00000009u) << "0.9";
  EXPECT_EQ(ls, 0x00090001u) << "9.1";
  EXPECT_EQ(fixed->dwFileVersionMS, ms);
  EXPECT_EQ(fixed->dwFileVersionLS, ls);
  EXPECT_EQ(fixed->dwProductVersionMS, ms);
  EXPECT_EQ(fixed->dwProductVersionLS, ls);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0415) << "Polish";
  EXPECT_EQ(translation[1], 1250) << "Windows-1250";

  const struct {
    const char* name;
    const char* value;
  } strings[] = {
      {"FileVersion", BRISKO_VERSION_TEXT},
      {"ProductVersion", BRISKO_VERSION_TEXT},
      {"ProductName", "Brisko"},
      {"OriginalFilename", "Brisko.dll"},
  };
  for (const auto& s : strings) {
    const std::string key = std::string("\\StringFileInfo\\041504E2\\") + s.name;
    char* value = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length))
        << key;
    EXPECT_STREQ(value, s.value) << key;
  }
  // The generated text is the version's four numbers.
  EXPECT_EQ(std::string(BRISKO_VERSION_TEXT), std::to_string(BRISKO_VERSION_MAJOR) + "." +
                                                  std::to_string(BRISKO_VERSION_MINOR) + "." +
                                                  std::to_string(BRISKO_VERSION_PATCH) + "." +
                                                  std::to_string(BRISKO_VERSION_TWEAK));
}

#else  // native: the icon file the resource is built from

std::string iconPath() {
  std::string here = __FILE__;  // .../tests/resources_test.cpp
  const std::size_t slash = here.find_last_of('/');
  const std::size_t parent = here.find_last_of('/', slash - 1);
  return here.substr(0, parent) + "/resources/brisko.ico";
}

TEST(IconFile, HoldsTheThreeImagesWithTwoLinksDrawn) {
  std::ifstream in(iconPath(), std::ios::binary);
  ASSERT_TRUE(in) << iconPath();
  const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
  ASSERT_GE(file.size(), 6u + 3u * 16u);
  EXPECT_EQ(u16(&file[0]), 0);
  EXPECT_EQ(u16(&file[2]), 1);
  ASSERT_EQ(u16(&file[4]), 3);

  std::set<ImageFormat> found;
  std::size_t end = 6 + 3 * 16;
  for (int i = 0; i < 3; ++i) {
    const std::uint8_t* e = &file[6 + 16 * i];
    const int width = e[0];
    const int height = e[1];
    const int bpp = u16(e + 6);
    const std::uint32_t bytes = u32(e + 8);
    const std::uint32_t offset = u32(e + 12);
    found.emplace(width, height, bpp);
    EXPECT_EQ(e[2], bpp == 4 ? 16 : 0) << "colour count";
    EXPECT_EQ(offset, end) << "images follow one another";
    ASSERT_LE(static_cast<std::size_t>(offset) + bytes, file.size());
    const double share = checkImage(&file[offset], bytes, width, height, bpp);
    EXPECT_GT(share, 0.15) << "the links cover part of the square";
    EXPECT_LT(share, 0.85) << "and leave the rest transparent";
    end = offset + bytes;
  }
  EXPECT_EQ(end, file.size());
  EXPECT_EQ(found, kExpectedImages);
}

#endif

}  // namespace
}  // namespace brisko
