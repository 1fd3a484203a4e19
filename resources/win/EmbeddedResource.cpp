// On Windows the images are the module's own resources of type "PNG", named by their ids; the
// module is the one this code is linked into, found through the address of this function.
#include "resources/EmbeddedResource.h"

#include <windows.h>

#include <vector>

#include "resources/ImageResources.h"

namespace {

HMODULE ThisModule() {
  HMODULE module = nullptr;
  const DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
  GetModuleHandleExA(flags, reinterpret_cast<LPCSTR>(&FindEmbeddedResource), &module);
  return module;
}

void AddModuleImage(HMODULE module, int id, const char* fileName, std::vector<EmbeddedResource>& images) {
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), "PNG");
  HGLOBAL handle = info ? LoadResource(module, info) : nullptr;
  const void* data = handle ? LockResource(handle) : nullptr;
  if (!data) return;
  images.push_back({id, fileName, static_cast<const unsigned char*>(data),
                    static_cast<std::size_t>(SizeofResource(module, info))});
}

// The listed images and their 2x twins that the module holds; a locked resource stays valid as
// long as the module.
std::vector<EmbeddedResource> ModuleImages() {
  std::vector<EmbeddedResource> images;
  const HMODULE module = ThisModule();
  for (const ImageResource& image : kImageResources) {
    AddModuleImage(module, image.id, image.fileName, images);
    AddModuleImage(module, image.id + kHiResImageIdOffset, image.hiResFileName, images);
  }
  return images;
}

}  // namespace

const EmbeddedResource* FindEmbeddedResource(int id) {
  static const std::vector<EmbeddedResource> images = ModuleImages();
  for (const EmbeddedResource& image : images)
    if (image.id == id) return &image;
  return nullptr;
}
