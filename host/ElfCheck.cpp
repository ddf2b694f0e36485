#include "host/ElfCheck.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <elf.h>
#include <fstream>
#include <vector>

namespace serivane::host {

namespace {

// The ELF class this process loads.
template <int Bits> struct ElfTypes;
template <> struct ElfTypes<64> {
    using Header = Elf64_Ehdr;
    using ProgramHeader = Elf64_Phdr;
    using SectionHeader = Elf64_Shdr;
    static constexpr unsigned char fileClass = ELFCLASS64;
};
template <> struct ElfTypes<32> {
    using Header = Elf32_Ehdr;
    using ProgramHeader = Elf32_Phdr;
    using SectionHeader = Elf32_Shdr;
    [[maybe_unused]] static constexpr unsigned char fileClass = ELFCLASS32;
};
using Native = ElfTypes<sizeof(void*) * 8>;

constexpr unsigned char nativeByteOrder =
    std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;

// Whether `length` bytes from `offset` lie inside a file of `size` bytes, without overflow.
bool inside(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
    return offset <= size && length <= size - offset;
}

// A table of `count` entries of `entrySize` bytes at `offset`, inside a file of `size` bytes.
bool tableInside(std::uint64_t offset, std::uint64_t count, std::uint64_t entrySize,
                 std::uint64_t size) {
    return count <= size / entrySize && inside(offset, count * entrySize, size);
}

class ElfFile {
public:
    explicit ElfFile(const std::string& path) : in_(path, std::ios::binary) {
        in_.seekg(0, std::ios::end);
        size_ = in_ ? static_cast<std::uint64_t>(in_.tellg()) : 0;
    }

    bool opened() const { return static_cast<bool>(in_); }
    std::uint64_t size() const { return size_; }

    // Reads `count` records from `offset`; the caller has checked that they lie in the file.
    template <typename Record>
    bool read(std::uint64_t offset, std::uint64_t count, std::vector<Record>& out) {
        out.resize(count);
        in_.seekg(static_cast<std::streamoff>(offset));
        in_.read(reinterpret_cast<char*>(out.data()),
                 static_cast<std::streamsize>(count * sizeof(Record)));
        return static_cast<bool>(in_);
    }

private:
    std::ifstream in_;
    std::uint64_t size_ = 0;
};

bool checkSegments(ElfFile& file, const Native::Header& header, std::string& cause) {
    if (header.e_phentsize != sizeof(Native::ProgramHeader)) {
        cause = "its program headers have an unknown size";
        return false;
    }
    if (!tableInside(header.e_phoff, header.e_phnum, header.e_phentsize, file.size())) {
        cause = "its program header table is cut short";
        return false;
    }
    std::vector<Native::ProgramHeader> segments;
    if (!file.read(header.e_phoff, header.e_phnum, segments)) {
        cause = "its program headers cannot be read";
        return false;
    }
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const Native::ProgramHeader& s = segments[i];
        if (!inside(s.p_offset, s.p_filesz, file.size())) {
            cause = "segment " + std::to_string(i) + " ends at byte " +
                    std::to_string(s.p_offset + s.p_filesz) + ", past the end of the " +
                    std::to_string(file.size()) + "-byte file";
            return false;
        }
    }
    return true;
}

bool checkSections(ElfFile& file, const Native::Header& header, std::string& cause) {
    if (header.e_shoff == 0) return true;
    if (header.e_shentsize != sizeof(Native::SectionHeader)) {
        cause = "its section headers have an unknown size";
        return false;
    }
    std::uint64_t count = header.e_shnum;
    std::vector<Native::SectionHeader> first;
    // More sections than the header can count: section 0 holds the number.
    if (count == 0 && tableInside(header.e_shoff, 1, header.e_shentsize, file.size()) &&
        file.read(header.e_shoff, 1, first))
        count = first[0].sh_size;
    if (!tableInside(header.e_shoff, std::max<std::uint64_t>(count, 1), header.e_shentsize,
                     file.size())) {
        cause = "its section header table is cut short";
        return false;
    }
    return true;
}

} // namespace

bool checkElfFile(const std::string& path, std::string& cause) {
    ElfFile file(path);
    if (!file.opened()) {
        cause = "it cannot be read";
        return false;
    }
    std::vector<unsigned char> ident;
    if (file.size() < EI_NIDENT || !file.read(0, EI_NIDENT, ident) ||
        std::memcmp(ident.data(), ELFMAG, SELFMAG) != 0) {
        cause = "it is not an ELF file";
        return false;
    }
    if (ident[EI_CLASS] != Native::fileClass || ident[EI_DATA] != nativeByteOrder) return true;
    std::vector<Native::Header> header;
    if (file.size() < sizeof(Native::Header) || !file.read(0, 1, header)) {
        cause = "its ELF header is cut short";
        return false;
    }
    return checkSegments(file, header[0], cause) && checkSections(file, header[0], cause);
}

} // namespace serivane::host
