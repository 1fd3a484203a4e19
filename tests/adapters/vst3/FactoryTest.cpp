// The module's entries and its factory, reached the way hosts reach them.

#include <cstring>

#include "hosts/module/LoadedModule.h"
#include "public.sdk/source/common/readfile.h"
#include "public.sdk/source/vst/moduleinfo/moduleinfoparser.h"
#include "tests/adapters/vst3/Vst3Fixture.h"

using namespace Steinberg;

namespace {

const unsigned char kClassId[16] = {0x0D, 0xE7, 0xAE, 0xF2, 0xDE, 0x00, 0x4E, 0x4F,
                                    0x4F, 0x72, 0x72, 0x6E, 0x51, 0x76, 0x65, 0x6C};

// The module file itself, opened without the SDK's help, for what only its exports show.
class ModuleExports : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(module.Open(BRELVANE_VST3_MODULE, error)) << error; }
  IPluginFactory* GetFactory() {
    auto get = reinterpret_cast<GetFactoryProc>(module.Find("GetPluginFactory"));
    return get ? get() : nullptr;
  }
  bool Call(const char* name) {
    auto entry = reinterpret_cast<bool (*)()>(module.Find(name));
    return entry && entry();
  }

  brel::LoadedModule module;
  std::string error;
};

TEST_F(ModuleExports, InitDllAndExitDllAnswerTrueOnEveryPlatform) {
  EXPECT_TRUE(Call("InitDll"));
  EXPECT_TRUE(Call("ExitDll"));
  EXPECT_EQ(module.Find("ModuleEntry") != nullptr, BREL_EXPECT_MODULE_ENTRY != 0);
  EXPECT_EQ(module.Find("ModuleExit") != nullptr, BREL_EXPECT_MODULE_ENTRY != 0);
}

TEST_F(ModuleExports, TheFactoryIsSharedWhileHeldAndBuiltAnewAfterItsLastRelease) {
  IPluginFactory* first = GetFactory();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetFactory(), first);
  EXPECT_EQ(first->addRef(), 3u) << "two calls, two references";
  first->release();
  first->release();
  EXPECT_EQ(first->release(), 0u);
  IPluginFactory* fresh = GetFactory();
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->countClasses(), 1);
  EXPECT_EQ(fresh->release(), 0u);
}

class Factory : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(host.Load(vst3test::BundlePath())) << host.LastError(); }
  brel::Vst3Host host;
};

TEST_F(Factory, DescribesTheMakerAndItsOneClassExactly) {
  FUnknownPtr<IPluginFactory3> factory(host.Factory());
  ASSERT_TRUE(factory);
  PFactoryInfo maker;
  ASSERT_EQ(factory->getFactoryInfo(&maker), kResultOk);
  EXPECT_STREQ(maker.vendor, "Orrindale");
  EXPECT_EQ(maker.flags, PFactoryInfo::kUnicode);
  EXPECT_EQ(factory->countClasses(), 1);

  PClassInfo2 info;
  ASSERT_EQ(factory->getClassInfo2(0, &info), kResultOk);
  EXPECT_EQ(std::memcmp(info.cid, kClassId, 16), 0);
  EXPECT_EQ(info.cardinality, 0x7FFFFFFF);
  EXPECT_STREQ(info.category, "Audio Module Class");
  EXPECT_STREQ(info.name, "Brelvane");
  EXPECT_EQ(info.classFlags, 2u);
  EXPECT_STREQ(info.subCategories, "Fx|Dynamics");
  EXPECT_STREQ(info.vendor, "");
  EXPECT_STREQ(info.version, "1.2.0");
  EXPECT_STREQ(info.sdkVersion, "VST 3.6.6");

  PClassInfoW wide;
  ASSERT_EQ(factory->getClassInfoUnicode(0, &wide), kResultOk);
  EXPECT_EQ(std::memcmp(wide.cid, kClassId, 16), 0);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(wide.name)), u"Brelvane");
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(wide.sdkVersion)), u"VST 3.6.6");

  EXPECT_EQ(factory->getClassInfo2(1, &info), kInvalidArgument);
  EXPECT_EQ(factory->getClassInfo(-1, nullptr), kInvalidArgument);
  EXPECT_EQ(factory->getClassInfoUnicode(0, nullptr), kInvalidArgument);
}

TEST_F(Factory, CreatesThePlugInForItsClassIdOnly) {
  IPluginFactory* factory = host.Factory();
  void* object = nullptr;
  ASSERT_EQ(factory->createInstance(reinterpret_cast<const char*>(kClassId), Vst::IComponent::iid, &object),
            kResultOk);
  ASSERT_NE(object, nullptr);
  static_cast<Vst::IComponent*>(object)->release();

  unsigned char otherId[16];
  std::memcpy(otherId, kClassId, 16);
  otherId[15] ^= 1;
  object = &otherId;
  EXPECT_EQ(factory->createInstance(reinterpret_cast<const char*>(otherId), Vst::IComponent::iid, &object),
            kNoInterface);
  EXPECT_EQ(object, nullptr);
}

TEST_F(Factory, TheBundlesModuleInfoDescribesWhatTheFactoryAnswers) {
  const auto path = VST3::Hosting::Module::getModuleInfoPath(vst3test::BundlePath());
  ASSERT_TRUE(path) << "no Contents/Resources/moduleinfo.json";
  const auto info = ModuleInfoLib::parseJson(readFile(*path), nullptr);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->name, "Brelvane");
  EXPECT_EQ(info->factoryInfo.vendor, "Orrindale");
  ASSERT_EQ(info->classes.size(), 1u);
  const auto& entry = info->classes.front();
  const auto classes = host.Classes();
  ASSERT_EQ(classes.size(), 1u);
  EXPECT_EQ(entry.cid, classes.front().ID().toString());
  EXPECT_EQ(entry.category, "Audio Module Class");
  EXPECT_EQ(entry.version, "1.2.0");
  EXPECT_EQ(entry.sdkVersion, "VST 3.6.6");
  EXPECT_EQ(entry.flags, 2u);
}

}  // namespace
