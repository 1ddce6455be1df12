#include "table_input.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <istream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/system_error.h"
#include "payroll/message_text.h"
#include "table/columns.h"

namespace recibo::batch {

namespace {

// Reads until `size` bytes or the end: the pieces of a file then fall at the
// same places in both readings. The count, or -1 with errno set.
ssize_t readFully(int fd, char* buffer, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, buffer + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

bool writeFully(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Tells whether a file's bytes are the same in both readings: a 64-bit mix
// of each 8-byte word, as in xxHash's rounds.
std::uint64_t checksum(std::uint64_t sum, std::string_view bytes)
{
    constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL, kPrime2 = 0xC2B2AE3D27D4EB4FULL;
    const auto round = [](std::uint64_t acc, std::uint64_t word) {
        acc += word * kPrime2;
        acc = (acc << 31) | (acc >> 33);
        return acc * kPrime1;
    };
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + at, sizeof word);
        sum = round(sum, word);
    }
    for (; at < bytes.size(); ++at)
        sum = round(sum, static_cast<unsigned char>(bytes[at]) | 0x100);
    return sum;
}

std::string temporaryFolder()
{
    const char* folder = std::getenv("TMPDIR");
    return folder && *folder ? folder : "/tmp";
}

// A file with no name in `folder`, or -1 with errno set.
int createNamelessFile(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return fd;
    // A file system without O_TMPFILE: the name goes right after creation.
    std::string name = folder + "/recibo-lote-XXXXXX";
    const int named = ::mkostemp(name.data(), O_CLOEXEC);
    if (named >= 0)
        ::unlink(name.c_str());
    return named;
}

}  // namespace

TableInput::TableInput(std::istream& in) : stream_(&in), name_("la entrada estándar"), buffer_(new char[kPieceBytes]) {}

TableInput::TableInput(int fd, bool regular, std::string name)
    : fd_(fd), regular_(regular), name_(std::move(name)), buffer_(new char[kPieceBytes])
{}

OrUnusable<std::unique_ptr<TableInput>> TableInput::openFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return Unusable{"no se puede abrir el archivo " + payroll::quotedPathForMessage(path) + ": "
                        + files::systemErrorText(error, files::Access::Read)};
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || S_ISDIR(status.st_mode)) {
        const int error = S_ISDIR(status.st_mode) ? EISDIR : errno;
        ::close(fd);
        return Unusable{"no se puede leer el archivo " + payroll::quotedPathForMessage(path) + ": "
                        + files::systemErrorText(error, files::Access::Read)};
    }
    return std::unique_ptr<TableInput>(
        new TableInput(fd, S_ISREG(status.st_mode), "el archivo " + payroll::quotedPathForMessage(path)));
}

TableInput::~TableInput()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (spoolFd_ >= 0)
        ::close(spoolFd_);
}

OrUnusable<std::string_view> TableInput::next()
{
    if (again_)
        return regular_ ? readFileAgain() : readSpool();
    auto piece = readSource();
    if (const auto* bytes = std::get_if<std::string_view>(&piece)) {
        if (regular_) {
            length_ += bytes->size();
            checksum_ = checksum(checksum_, *bytes);
        } else if (auto problem = spool(*bytes)) {
            return std::move(*problem);
        }
    }
    return piece;
}

OrUnusable<std::string_view> TableInput::readSource()
{
    if (ended_)
        return std::string_view();
    if (stream_) {
        stream_->read(buffer_.get(), kPieceBytes);
        const auto n = static_cast<std::size_t>(stream_->gcount());
        if (stream_->bad())
            return Unusable{"no se puede leer la entrada estándar"};
        ended_ = n < kPieceBytes;
        return std::string_view(buffer_.get(), n);
    }
    const ssize_t n = readFully(fd_, buffer_.get(), kPieceBytes);
    if (n < 0)
        return Unusable{"no se puede leer " + name_ + ": " + files::systemErrorText(errno, files::Access::Read)};
    // What is appended after the end was seen is not part of the table.
    ended_ = static_cast<std::size_t>(n) < kPieceBytes;
    return std::string_view(buffer_.get(), static_cast<std::size_t>(n));
}

Problem TableInput::spool(std::string_view bytes)
{
    if (spoolFd_ < 0 && memory_.size() + bytes.size() <= kSpoolInMemory) {
        memory_.append(bytes);
        return std::nullopt;
    }
    const auto problem = [&](const std::string& what) {
        return Unusable{what + " en " + payroll::quotedPathForMessage(spoolFolder_) + ": "
                        + files::systemErrorText(errno, files::Access::Read)
                        + "; indicá otra carpeta con la variable TMPDIR o pasá la tabla como archivo"};
    };
    if (spoolFd_ < 0) {
        spoolFolder_ = temporaryFolder();
        spoolFd_ = createNamelessFile(spoolFolder_);
        if (spoolFd_ < 0)
            return problem("no se puede crear un archivo temporal para guardar " + name_ + " mientras se revisa");
        if (!writeFully(spoolFd_, memory_))
            return problem("no se puede guardar " + name_ + " en un archivo temporal");
        std::string().swap(memory_);
    }
    if (!writeFully(spoolFd_, bytes))
        return problem("no se puede guardar " + name_ + " en un archivo temporal");
    return std::nullopt;
}

Problem TableInput::rewind()
{
    again_ = true;
    const int fd = regular_ ? fd_ : spoolFd_;
    if (fd >= 0 && ::lseek(fd, 0, SEEK_SET) != 0)
        return Unusable{"no se puede volver a leer " + name_ + ": "
                        + files::systemErrorText(errno, files::Access::Read)};
    return std::nullopt;
}

OrUnusable<std::string_view> TableInput::readSpool()
{
    if (spoolFd_ < 0) {
        const std::string_view piece = std::string_view(memory_).substr(memoryAt_, kPieceBytes);
        memoryAt_ += piece.size();
        return piece;
    }
    const ssize_t n = readFully(spoolFd_, buffer_.get(), kPieceBytes);
    if (n < 0)
        return Unusable{"no se puede leer el archivo temporal en " + payroll::quotedPathForMessage(spoolFolder_) + ": "
                        + files::systemErrorText(errno, files::Access::Read)};
    return std::string_view(buffer_.get(), static_cast<std::size_t>(n));
}

std::string TableInput::changed(std::string_view detail) const
{
    return name_ + " cambió mientras se calculaban los recibos"
        + (detail.empty() ? "" : " (" + std::string(detail) + ")")
        + ": los ya escritos pueden no corresponder a la tabla; volvé a calcularlos cuando nadie la esté modificando";
}

OrUnusable<std::string_view> TableInput::readFileAgain()
{
    const std::uint64_t left = length_ - readAgain_;
    if (left == 0) {
        if (checksumAgain_ != checksum_)
            return Unusable{changed("")};
        return std::string_view();
    }
    const ssize_t n =
        readFully(fd_, buffer_.get(), static_cast<std::size_t>(std::min<std::uint64_t>(left, kPieceBytes)));
    if (n < 0)
        return Unusable{"no se puede leer " + name_ + ": " + files::systemErrorText(errno, files::Access::Read)};
    if (n == 0)
        return Unusable{changed("")};
    const std::string_view piece(buffer_.get(), static_cast<std::size_t>(n));
    readAgain_ += piece.size();
    checksumAgain_ = checksum(checksumAgain_, piece);
    return piece;
}

}  // namespace recibo::batch
