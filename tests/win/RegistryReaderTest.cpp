#include <gtest/gtest.h>
#include <windows.h>

#include "TempDir.h"
#include "corel/CorelWorkspace.h"
#include "corel/RegistryReader.h"

namespace {

// Values of the test's own under HKEY_CURRENT_USER, removed again afterwards.
class RegistryKey {
 public:
  explicit RegistryKey(const std::string& path) : m_path(path) {
    RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &m_key, nullptr);
  }
  ~RegistryKey() {
    RegCloseKey(m_key);
    RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
  }
  void Set(const char* name, const std::string& text) {
    RegSetValueExA(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
  }

 private:
  std::string m_path;
  HKEY m_key = nullptr;
};

TEST(CurrentUserRegistry, ReadsStringsWithTheirTerminator) {
  RegistryKey key("Software\\PlotgateTest\\Reader");
  key.Set("Value", "C:\\abc.xml");
  key.Set("Long", std::string(300, 'x'));
  const auto registry = CurrentUserRegistry();
  ASSERT_TRUE(registry);
  std::string data;
  ASSERT_TRUE(registry->ReadValue("Software\\PlotgateTest\\Reader", "Value", data));
  EXPECT_EQ(data, std::string("C:\\abc.xml", 11));
  EXPECT_FALSE(registry->ReadValue("Software\\PlotgateTest\\Reader", "Missing", data));
  EXPECT_FALSE(registry->ReadValue("Software\\PlotgateTest\\Nowhere", "Value", data));
  EXPECT_FALSE(registry->ReadValue("Software\\PlotgateTest\\Reader", "Long", data));  // over 260 bytes
}

TEST(CurrentUserRegistry, WorkspaceNamedInTheRegistryIsEdited) {
  TempDir dir;
  const std::string file = dir.Write("DRAWUIConfig.xml", "<uiConfig><items/></uiConfig>");
  RegistryKey key("Software\\Corel\\CorelDRAW\\16.0\\Draw");
  key.Set("LastWorkspaceUsed", dir.Path().string() + ".cdws");
  const auto registry = CurrentUserRegistry();
  RegisterCorelWorkspace(true, *registry, dir.Path().string() + "\\");
  EXPECT_NE(TempDir::Read(file).find("<itemData guid=\"90c7038a-be16-44b5-8db5-c2745b70be66\""), std::string::npos);
  RegisterCorelWorkspace(false, *registry, dir.Path().string() + "\\");
  EXPECT_EQ(TempDir::Read(file), "<uiConfig><items>\r\n</items></uiConfig>");
}

}  // namespace
