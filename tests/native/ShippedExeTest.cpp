// Checks the shipped Windows executable from Linux: it has to be a 32-bit GUI
// program that Windows XP agrees to load, which means a subsystem version of
// at most 5.01 and no import that XP's DLLs lack.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "native/PeImage.h"

namespace {

using ExportList = std::set<std::string>;  // "dll!Function", DLL in lower case

struct NonXpImport {
  std::string name;  // "dll!Function" or "dll!#ordinal"
  std::string reason;
};

// DLLs Windows XP does not ship; a trailing '*' matches any rest of the name.
// The exe is shipped on its own, so MinGW's runtime DLLs would be missing too.
const char* const kDllsMissingOnXp[] = {
    "api-ms-win-*",   "ext-ms-*",       "ucrtbase.dll", "vcruntime*", "msvcp1*",
    "msvcr1*",        "kernelbase.dll", "bcrypt.dll",   "ncrypt.dll", "dwmapi.dll",
    "d2d1.dll",       "dwrite.dll",     "libgcc_s*",    "libstdc++*", "libwinpthread*",
};

bool IsMissingOnXp(const std::string& dll) {
  for (const std::string pattern : kDllsMissingOnXp) {
    const bool isPrefix = pattern.back() == '*';
    if (isPrefix ? dll.rfind(pattern.substr(0, pattern.size() - 1), 0) == 0 : dll == pattern)
      return true;
  }
  return false;
}

// Every import that would keep the exe from loading on XP. The covered DLLs are
// those the lists name; other XP system DLLs (ntdll, shlwapi, ...) are trusted.
std::vector<NonXpImport> FindNonXpImports(const std::vector<pe::Import>& imports,
                                          const ExportList& availableOnXp,
                                          const ExportList& newerThanXp) {
  std::set<std::string> coveredDlls;
  for (const ExportList* list : {&availableOnXp, &newerThanXp})
    for (const std::string& entry : *list) coveredDlls.insert(entry.substr(0, entry.find('!')));

  std::vector<NonXpImport> found;
  for (const pe::Import& import : imports) {
    const std::string name = import.Name();
    if (IsMissingOnXp(import.dll)) {
      found.push_back({name, "DLL not on XP"});
    } else if (coveredDlls.count(import.dll) == 0) {
      continue;
    } else if (import.byOrdinal) {
      // The lists hold names only, so an ordinal cannot be vouched for.
      found.push_back({name, "ordinal import"});
    } else if (newerThanXp.count(name) != 0) {
      found.push_back({name, "newer than XP"});
    } else if (availableOnXp.count(name) == 0) {
      found.push_back({name, "not an XP export"});
    }
  }
  return found;
}

std::string Describe(const std::vector<NonXpImport>& found) {
  std::string text;
  for (const NonXpImport& item : found) text += "\n  " + item.name + " (" + item.reason + ")";
  return text;
}

std::vector<std::string> Names(const std::vector<NonXpImport>& found) {
  std::vector<std::string> names;
  for (const NonXpImport& item : found) names.push_back(item.name);
  return names;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ExportList LoadExportList(const std::string& fileName) {
  std::ifstream in(std::string(XP_EXPORTS_DIR) + "/" + fileName);
  ExportList list;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] != '#') list.insert(line);
  }
  return list;
}

// A minimal PE32 GUI image with one section: kernel32 imported normally
// (GetTickCount64 by name, ordinal 17) and user32 delay-loaded (MessageBoxW).
constexpr uint32_t kSyntheticStamp = 0x5F5E1000;
constexpr size_t kPeHeader = 0x40;
constexpr size_t kOptionalHeader = kPeHeader + 24;
constexpr size_t kOptionalHeaderSize = 0xE0;

std::vector<uint8_t> BuildSyntheticExe() {
  constexpr uint32_t kSectionRva = 0x1000;
  constexpr size_t kSectionOffset = 0x200;
  std::vector<uint8_t> bytes(0x400);
  auto put16 = [&](size_t at, uint16_t value) {
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
  };
  auto put32 = [&](size_t at, uint32_t value) {
    put16(at, static_cast<uint16_t>(value));
    put16(at + 2, static_cast<uint16_t>(value >> 16));
  };
  auto atRva = [&](uint32_t rva) { return rva - kSectionRva + kSectionOffset; };
  auto putText = [&](uint32_t rva, const char* text) {
    std::memcpy(&bytes[atRva(rva)], text, std::strlen(text) + 1);
  };

  put16(0, 0x5A4D);
  put32(0x3C, kPeHeader);
  put32(kPeHeader, 0x4550);
  put16(kPeHeader + 4, pe::kMachineI386);
  put16(kPeHeader + 6, 1);  // sections
  put32(kPeHeader + 8, kSyntheticStamp);
  put16(kPeHeader + 20, kOptionalHeaderSize);
  put16(kPeHeader + 22, 0x0102);  // executable, 32-bit

  const size_t opt = kOptionalHeader;
  put16(opt, 0x10b);
  put32(opt + 28, 0x400000);
  put16(opt + 40, 5);
  put16(opt + 42, 1);
  put16(opt + 48, 5);
  put16(opt + 50, 1);
  put16(opt + 68, pe::kSubsystemWindowsGui);
  put32(opt + 92, 16);
  put32(opt + 96 + 8 * 1, 0x1000);  // imports
  put32(opt + 100 + 8 * 1, 40);
  put32(opt + 96 + 8 * 13, 0x1040);  // delay-load imports
  put32(opt + 100 + 8 * 13, 64);

  const size_t section = opt + kOptionalHeaderSize;
  std::memcpy(&bytes[section], ".idata", 6);
  put32(section + 8, 0x200);
  put32(section + 12, kSectionRva);
  put32(section + 16, 0x200);
  put32(section + 20, kSectionOffset);

  put32(atRva(0x1000), 0x1080);       // lookup table
  put32(atRva(0x1000 + 12), 0x10C0);  // DLL name
  put32(atRva(0x1000 + 16), 0x1090);  // address table
  put32(atRva(0x1040), 1);            // RVA-based
  put32(atRva(0x1040 + 4), 0x10D0);   // DLL name
  put32(atRva(0x1040 + 12), 0x10A8);  // address table
  put32(atRva(0x1040 + 16), 0x10A0);  // name table
  for (uint32_t table : {0x1080u, 0x1090u}) {
    put32(atRva(table), 0x1100);
    put32(atRva(table + 4), 0x80000000u | 17);
  }
  put32(atRva(0x10A0), 0x1120);
  put32(atRva(0x10A8), 0x1120);
  putText(0x10C0, "KERNEL32.dll");
  putText(0x10D0, "USER32.dll");
  putText(0x1102, "GetTickCount64");
  putText(0x1122, "MessageBoxW");
  return bytes;
}

std::vector<uint8_t> Modified(const std::function<void(std::vector<uint8_t>&)>& change) {
  std::vector<uint8_t> bytes = BuildSyntheticExe();
  change(bytes);
  return bytes;
}

class XpImportCheck : public testing::Test {
 protected:
  void SetUp() override {
    availableOnXp_ = LoadExportList("available-on-xp.txt");
    newerThanXp_ = LoadExportList("newer-than-xp.txt");
    // Unread lists would cover no DLL and let every import pass.
    ASSERT_GT(availableOnXp_.size(), 1000u) << "cannot read lists in " << XP_EXPORTS_DIR;
    ASSERT_GT(newerThanXp_.size(), 100u) << "cannot read lists in " << XP_EXPORTS_DIR;
  }

  ExportList availableOnXp_;
  ExportList newerThanXp_;
};

class ShippedExe : public XpImportCheck {
 protected:
  void SetUp() override {
    XpImportCheck::SetUp();
    if (HasFatalFailure()) return;
    const std::vector<uint8_t> bytes = ReadFileBytes(HUSHGATE_EXE);
    ASSERT_FALSE(bytes.empty()) << "cannot read " << HUSHGATE_EXE;
    std::string error;
    std::optional<pe::PeImage> image = pe::ReadPeImage(bytes, error);
    ASSERT_TRUE(image) << HUSHGATE_EXE << " is not a PE32 image: " << error;
    image_ = std::move(*image);
  }

  pe::PeImage image_;
};

TEST_F(ShippedExe, IsPe32I386GuiProgram) {
  EXPECT_EQ(image_.machine, pe::kMachineI386);
  EXPECT_EQ(image_.subsystem, pe::kSubsystemWindowsGui);
}

TEST_F(ShippedExe, SubsystemVersionIsAtMostXp) {
  // XP's loader refuses an image that asks for a newer subsystem than 5.01.
  const bool atMostXp = image_.majorSubsystemVersion < 5 ||
                        (image_.majorSubsystemVersion == 5 && image_.minorSubsystemVersion <= 1);
  EXPECT_TRUE(atMostXp) << "subsystem version " << image_.majorSubsystemVersion << "."
                        << image_.minorSubsystemVersion;
}

TEST_F(ShippedExe, EveryImportExistsOnXp) {
  ASSERT_FALSE(image_.imports.empty()) << "no imports found; the reader must have missed them";
  const std::vector<NonXpImport> found =
      FindNonXpImports(image_.imports, availableOnXp_, newerThanXp_);
  EXPECT_TRUE(found.empty()) << found.size() << " import(s) Windows XP cannot resolve:"
                             << Describe(found);
}

TEST_F(XpImportCheck, ReportsEveryKindOfNonXpImport) {
  auto byName = [](const char* dll, const char* function) {
    pe::Import import;
    import.dll = dll;
    import.function = function;
    return import;
  };
  auto byOrdinal = [](const char* dll, uint16_t ordinal) {
    pe::Import import;
    import.dll = dll;
    import.byOrdinal = true;
    import.ordinal = ordinal;
    return import;
  };
  const std::vector<pe::Import> imports = {
      byName("kernel32.dll", "CreateFileA"),
      byName("kernel32.dll", "GetTickCount64"),
      byName("kernel32.dll", "NoSuchFunctionAnywhere"),
      byName("msvcrt.dll", "malloc"),
      byOrdinal("comctl32.dll", 17),
      byName("ntdll.dll", "RtlGetVersion"),
      byOrdinal("shlwapi.dll", 437),
      byName("api-ms-win-core-synch-l1-2-0.dll", "Sleep"),
      byName("ucrtbase.dll", "malloc"),
      byName("kernelbase.dll", "CreateFileW"),
  };
  EXPECT_EQ(Names(FindNonXpImports(imports, availableOnXp_, newerThanXp_)),
            (std::vector<std::string>{
                "kernel32.dll!GetTickCount64",
                "kernel32.dll!NoSuchFunctionAnywhere",
                "comctl32.dll!#17",
                "api-ms-win-core-synch-l1-2-0.dll!Sleep",
                "ucrtbase.dll!malloc",
                "kernelbase.dll!CreateFileW",
            }));
}

TEST_F(XpImportCheck, CatchesNewerImportReadFromAnImage) {
  std::string error;
  const std::optional<pe::PeImage> image = pe::ReadPeImage(BuildSyntheticExe(), error);
  ASSERT_TRUE(image) << error;
  EXPECT_EQ(Names(FindNonXpImports(image->imports, availableOnXp_, newerThanXp_)),
            (std::vector<std::string>{"kernel32.dll!GetTickCount64", "kernel32.dll!#17"}));
}

TEST(PeImageReader, ReadsHeadersAndBothImportTables) {
  std::string error;
  const std::optional<pe::PeImage> image = pe::ReadPeImage(BuildSyntheticExe(), error);
  ASSERT_TRUE(image) << error;
  EXPECT_EQ(image->machine, pe::kMachineI386);
  EXPECT_EQ(image->timeDateStamp, kSyntheticStamp);
  EXPECT_EQ(image->majorOperatingSystemVersion, 5);
  EXPECT_EQ(image->minorOperatingSystemVersion, 1);
  EXPECT_EQ(image->majorSubsystemVersion, 5);
  EXPECT_EQ(image->minorSubsystemVersion, 1);
  EXPECT_EQ(image->subsystem, pe::kSubsystemWindowsGui);
  std::vector<std::string> names;
  for (const pe::Import& import : image->imports) names.push_back(import.Name());
  EXPECT_EQ(names, (std::vector<std::string>{"kernel32.dll!GetTickCount64", "kernel32.dll!#17",
                                             "user32.dll!MessageBoxW"}));
  ASSERT_EQ(image->imports.size(), 3u);
  EXPECT_FALSE(image->imports[0].delayLoaded);
  EXPECT_TRUE(image->imports[2].delayLoaded);
}

TEST(PeImageReader, RejectsMalformedInput) {
  auto dosHeaderPointingAt = [](uint32_t peOffset) {
    std::vector<uint8_t> bytes(64);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    for (int i = 0; i < 4; ++i) bytes[0x3C + i] = static_cast<uint8_t>(peOffset >> 8 * i);
    return bytes;
  };
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"MZ only", {'M', 'Z'}},
      {"garbage", std::vector<uint8_t>(256, 0xAB)},
      {"e_lfanew past the end", dosHeaderPointingAt(0x1000)},
      {"e_lfanew near 4 GiB", dosHeaderPointingAt(0xFFFFFFFE)},
      {"no PE signature", Modified([](auto& b) { b[kPeHeader] = 'X'; })},
      {"PE32+ image", Modified([](auto& b) { b[kOptionalHeader + 1] = 0x02; })},
      {"optional header cut short", Modified([](auto& b) { b.resize(kOptionalHeader + 50); })},
      {"section table cut short",
       Modified([](auto& b) { b.resize(kOptionalHeader + kOptionalHeaderSize + 20); })},
      {"import table outside every section",
       Modified([](auto& b) { b[kOptionalHeader + 96 + 8 + 1] = 0x50; })},
      {"section data past the end of the file", Modified([](auto& b) { b.resize(0x280); })},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    EXPECT_FALSE(pe::ReadPeImage(c.bytes, error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(PeImageReader, SurvivesEveryTruncationAndByteCorruption) {
  // The sanitizers turn any out-of-bounds read here into a failure.
  const std::vector<uint8_t> good = BuildSyntheticExe();
  for (size_t size = 0; size < good.size(); ++size) {
    std::string error;
    const std::vector<uint8_t> cut(good.begin(), good.begin() + size);
    const bool parsed = pe::ReadPeImage(cut, error).has_value();
    EXPECT_TRUE(parsed || !error.empty()) << "size " << size;
  }
  for (size_t at = 0; at < good.size(); ++at) {
    for (uint8_t value : {0x00, 0x7F, 0xFF}) {
      std::vector<uint8_t> bad = good;
      bad[at] = value;
      std::string error;
      const bool parsed = pe::ReadPeImage(bad, error).has_value();
      EXPECT_TRUE(parsed || !error.empty()) << "byte " << at << " = " << int{value};
    }
  }
}

}  // namespace
