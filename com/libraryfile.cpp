#include "com/libraryfile.h"

#include <QFile>

#include <cstring>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

namespace com {

namespace {

// A descriptor closed on every way out. (The runtime lies below the platform layers.)
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_;
};

// The ELF flavour of this process (link.h's ElfW picks the width).
using Header = ElfW(Ehdr);
using ProgramHeader = ElfW(Phdr);
constexpr unsigned char ownClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
constexpr unsigned char ownByteOrder =
    __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? ELFDATA2LSB : ELFDATA2MSB;

// The machine the running program was built for, read from its own header, so no table of
// architectures is needed.
ElfW(Half) ownMachine() {
    static const ElfW(Half) machine = [] {
        Header self{};
        const FileDescriptor fd(::open("/proc/self/exe", O_RDONLY | O_CLOEXEC));
        if (fd.valid() && ::pread(fd.get(), &self, sizeof self, 0) != ssize_t(sizeof self))
            self.e_machine = EM_NONE;
        return self.e_machine;
    }();
    return machine;
}

bool readAt(int fd, void* into, std::size_t size, off_t offset) {
    return ::pread(fd, into, size, offset) == ssize_t(size);
}

// first + count * size <= fileSize without overflow.
bool fits(std::uint64_t first, std::uint64_t count, std::uint64_t size, std::uint64_t fileSize) {
    if (first > fileSize)
        return false;
    return count == 0 || size == 0 || count <= (fileSize - first) / size;
}

bool checkOpenFile(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    const auto fileSize = std::uint64_t(st.st_size);
    Header h{};
    if (!readAt(fd, &h, sizeof h, 0))
        return false;
    if (std::memcmp(h.e_ident, ELFMAG, SELFMAG) != 0 || h.e_ident[EI_CLASS] != ownClass ||
        h.e_ident[EI_DATA] != ownByteOrder || h.e_type != ET_DYN || h.e_machine == EM_NONE ||
        h.e_machine != ownMachine())
        return false;
    if (h.e_phentsize != sizeof(ProgramHeader) || h.e_phnum == 0 ||
        !fits(h.e_phoff, h.e_phnum, sizeof(ProgramHeader), fileSize))
        return false;
    if (h.e_shnum != 0 && !fits(h.e_shoff, h.e_shnum, h.e_shentsize, fileSize))
        return false;
    bool loads = false;
    for (ElfW(Half) i = 0; i < h.e_phnum; ++i) {
        ProgramHeader p{};
        if (!readAt(fd, &p, sizeof p, off_t(h.e_phoff + i * sizeof p)))
            return false;
        if (p.p_type == PT_LOAD)
            loads = true;
        if ((p.p_type == PT_LOAD || p.p_type == PT_DYNAMIC) &&
            !fits(p.p_offset, 1, p.p_filesz, fileSize))
            return false;
    }
    return loads;
}

} // namespace

bool isLoadableLibrary(const QString& path) {
    const FileDescriptor fd(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    return fd.valid() && checkOpenFile(fd.get());
}

} // namespace com
