#include "native/PeImage.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace pe {
namespace {

constexpr uint16_t kDosMagic = 0x5A4D;    // "MZ"
constexpr uint32_t kPeMagic = 0x4550;     // "PE\0\0"
constexpr uint16_t kPe32Magic = 0x10b;
constexpr uint32_t kMinOptionalHeaderSize = 96;  // PE32 fields before the data directories
constexpr uint32_t kImportDirectory = 1;
constexpr uint32_t kDelayImportDirectory = 13;
constexpr uint32_t kResourceDirectory = 2;
constexpr uint32_t kHighBit = 0x80000000u;
constexpr uint32_t kImportDescriptorSize = 20;
constexpr uint32_t kDelayDescriptorSize = 32;
constexpr uint32_t kSectionHeaderSize = 40;
constexpr uint32_t kOrdinalFlag = 0x80000000u;
constexpr uint32_t kDelayAttributeRvaBased = 1;
constexpr size_t kMaxNameLength = 4096;
// Walks of the tables stop here, so a crafted file cannot keep the reader busy for hours.
constexpr size_t kMaxTableEntries = 1 << 16;

// Thrown inside the reader only; ReadPeImage turns it into an error message.
struct FormatError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Section {
  uint32_t virtualAddress;
  uint32_t virtualSize;
  uint32_t rawSize;
  uint32_t rawOffset;
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

class Parser {
 public:
  explicit Parser(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

  PeImage Parse() {
    if (U16(0, "DOS header") != kDosMagic) throw FormatError("no MZ signature");
    const uint64_t peHeader = U32(0x3C, "DOS header");
    if (U32(peHeader, "PE signature") != kPeMagic) throw FormatError("no PE signature");

    const uint64_t fileHeader = peHeader + 4;
    PeImage image;
    image.machine = U16(fileHeader, "file header");
    const uint16_t sectionCount = U16(fileHeader + 2, "file header");
    image.timeDateStamp = U32(fileHeader + 4, "file header");
    const uint16_t optionalSize = U16(fileHeader + 16, "file header");

    const uint64_t optional = fileHeader + 20;
    if (optionalSize < kMinOptionalHeaderSize) throw FormatError("optional header too small");
    Need(optional, optionalSize, "optional header");
    if (U16(optional, "optional header") != kPe32Magic) throw FormatError("not a PE32 image");
    imageBase_ = U32(optional + 28, "optional header");
    image.majorOperatingSystemVersion = U16(optional + 40, "optional header");
    image.minorOperatingSystemVersion = U16(optional + 42, "optional header");
    image.majorSubsystemVersion = U16(optional + 48, "optional header");
    image.minorSubsystemVersion = U16(optional + 50, "optional header");
    image.subsystem = U16(optional + 68, "optional header");
    const uint32_t directoryCount = U32(optional + 92, "optional header");

    const uint64_t sectionTable = optional + optionalSize;
    for (uint32_t i = 0; i < sectionCount; ++i) {
      const uint64_t header = sectionTable + uint64_t{i} * kSectionHeaderSize;
      sections_.push_back({U32(header + 12, "section table"), U32(header + 8, "section table"),
                           U32(header + 16, "section table"), U32(header + 20, "section table")});
    }

    // A directory the header does not have room for counts as absent.
    auto directoryRva = [&](uint32_t index) -> uint32_t {
      const uint32_t entry = kMinOptionalHeaderSize + 8 * index;
      if (index >= directoryCount || entry + 8 > optionalSize) return 0;
      return U32(optional + entry, "data directory");
    };
    if (uint32_t rva = directoryRva(kImportDirectory)) ReadImports(rva, image);
    if (uint32_t rva = directoryRva(kDelayImportDirectory)) ReadDelayImports(rva, image);
    if (uint32_t rva = directoryRva(kResourceDirectory)) ReadResources(rva, 0, 0, Resource(), image);
    return image;
  }

 private:
  void Need(uint64_t offset, uint64_t size, const char* what) const {
    if (offset > bytes_.size() || size > bytes_.size() - offset)
      throw FormatError(std::string(what) + " lies past the end of the file");
  }
  uint16_t U16(uint64_t offset, const char* what) const {
    Need(offset, 2, what);
    return static_cast<uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
  }
  uint32_t U32(uint64_t offset, const char* what) const {
    return U16(offset, what) | uint32_t{U16(offset + 2, what)} << 16;
  }
  std::string String(uint64_t offset, const char* what) const {
    std::string text;
    for (;; ++offset) {
      Need(offset, 1, what);
      if (bytes_[offset] == 0) return text;
      if (text.size() == kMaxNameLength) throw FormatError(std::string(what) + " too long");
      text.push_back(static_cast<char>(bytes_[offset]));
    }
  }

  // 64-bit RVAs so that stepping through a table can never wrap around.
  uint64_t Offset(uint64_t rva, const char* what) const {
    for (const Section& s : sections_) {
      const uint64_t delta = rva - s.virtualAddress;
      if (rva < s.virtualAddress || delta >= std::max(s.virtualSize, s.rawSize)) continue;
      // Past the raw data the loader supplies zeros; no valid table lives there.
      if (delta >= s.rawSize) break;
      return uint64_t{s.rawOffset} + delta;
    }
    throw FormatError(std::string(what) + " is not in any section's data");
  }

  // Old delay-load descriptors hold virtual addresses instead of RVAs.
  static uint32_t Rebase(uint32_t address, uint32_t base) {
    if (address < base) throw FormatError("address below the image base");
    return address - base;
  }

  void CountEntry() {
    if (++entries_ > kMaxTableEntries) throw FormatError("tables implausibly long");
  }

  void ReadImports(uint64_t rva, PeImage& image) {
    for (;; rva += kImportDescriptorSize) {
      CountEntry();
      const uint64_t at = Offset(rva, "import descriptor");
      const uint32_t lookupTable = U32(at, "import descriptor");
      const uint32_t name = U32(at + 12, "import descriptor");
      const uint32_t addressTable = U32(at + 16, "import descriptor");
      // The loader stops at the first descriptor lacking either of these.
      if (name == 0 || addressTable == 0) return;
      const std::string dll = Lower(String(Offset(name, "DLL name"), "DLL name"));
      ReadThunks(dll, lookupTable ? lookupTable : addressTable, 0, false, image);
    }
  }

  void ReadDelayImports(uint64_t rva, PeImage& image) {
    for (;; rva += kDelayDescriptorSize) {
      CountEntry();
      const uint64_t at = Offset(rva, "delay-load descriptor");
      const uint32_t attributes = U32(at, "delay-load descriptor");
      const uint32_t name = U32(at + 4, "delay-load descriptor");
      const uint32_t nameTable = U32(at + 16, "delay-load descriptor");
      if (name == 0) return;
      const uint32_t base = (attributes & kDelayAttributeRvaBased) ? 0 : imageBase_;
      const std::string dll = Lower(String(Offset(Rebase(name, base), "DLL name"), "DLL name"));
      ReadThunks(dll, Rebase(nameTable, base), base, true, image);
    }
  }

  void ReadThunks(const std::string& dll, uint64_t rva, uint32_t base, bool delayLoaded,
                  PeImage& image) {
    for (;; rva += 4) {
      CountEntry();
      const uint32_t thunk = U32(Offset(rva, "import lookup table"), "import lookup table");
      if (thunk == 0) return;
      Import import;
      import.dll = dll;
      import.delayLoaded = delayLoaded;
      if (thunk & kOrdinalFlag) {
        import.byOrdinal = true;
        import.ordinal = static_cast<uint16_t>(thunk);
      } else {
        // Skip the two-byte hint in front of the name.
        import.function = String(Offset(uint64_t{Rebase(thunk, base)} + 2, "import name"),
                                 "import name");
        if (import.function.empty()) throw FormatError("empty import name");
      }
      image.imports.push_back(std::move(import));
    }
  }

  // The tree is type, then name, then language; offsets inside it count from
  // the start of the resource directory, the leaves' data from the image base.
  void ReadResources(uint32_t root, uint32_t relative, int level, Resource path, PeImage& image) {
    if (level > 2) throw FormatError("resource tree deeper than three levels");
    const uint64_t at = Offset(uint64_t{root} + relative, "resource directory");
    const uint32_t count = uint32_t{U16(at + 12, "resource directory")} + U16(at + 14, "resource directory");
    for (uint32_t i = 0; i < count; ++i) {
      CountEntry();
      const uint64_t entry = at + 16 + uint64_t{i} * 8;
      const uint32_t name = U32(entry, "resource entry");
      const uint32_t target = U32(entry + 4, "resource entry");
      uint32_t& field = level == 0 ? path.type : level == 1 ? path.id : path.language;
      field = (name & kHighBit) ? 0 : name;
      if (target & kHighBit) {
        ReadResources(root, target & ~kHighBit, level + 1, path, image);
        continue;
      }
      const uint64_t leaf = Offset(uint64_t{root} + target, "resource data entry");
      const uint32_t dataRva = U32(leaf, "resource data entry");
      const uint32_t size = U32(leaf + 4, "resource data entry");
      const uint64_t data = Offset(dataRva, "resource data");
      Need(data, size, "resource data");
      Resource found = path;
      found.data.assign(bytes_.begin() + data, bytes_.begin() + data + size);
      image.resources.push_back(std::move(found));
    }
  }

  const std::vector<uint8_t>& bytes_;
  std::vector<Section> sections_;
  uint32_t imageBase_ = 0;
  size_t entries_ = 0;
};

}  // namespace

std::string Import::Name() const {
  return dll + "!" + (byOrdinal ? "#" + std::to_string(ordinal) : function);
}

std::optional<PeImage> ReadPeImage(const std::vector<uint8_t>& bytes, std::string& error) {
  try {
    return Parser(bytes).Parse();
  } catch (const FormatError& e) {
    error = e.what();
    return std::nullopt;
  }
}

}  // namespace pe
