#include "support/close_to_open_file_system.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fuse.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr uint64_t kFileNode = 2;
constexpr char kFileName[] = "romdeck.ini";
constexpr uint64_t kCachedSeconds = 3600;

fuse_attr FolderAttributes()
{
    fuse_attr attr{};
    attr.ino = FUSE_ROOT_ID;
    attr.mode = S_IFDIR | 0755;
    attr.nlink = 2;
    return attr;
}

} // namespace

CloseToOpenFileSystem::CloseToOpenFileSystem(std::string mountPoint) : mountPoint_(std::move(mountPoint))
{
    if (mkdir(mountPoint_.c_str(), 0755) != 0 && errno != EEXIST) {
        problem_ = "cannot make the mount point: " + std::string(strerror(errno));
        return;
    }
    device_ = open("/dev/fuse", O_RDWR | O_CLOEXEC);
    if (device_ < 0) {
        problem_ = "cannot open /dev/fuse: " + std::string(strerror(errno));
        return;
    }
    const std::string options = "fd=" + std::to_string(device_) +
        ",rootmode=40000,user_id=" + std::to_string(geteuid()) + ",group_id=" + std::to_string(getegid());
    if (mount("romdeck-test", mountPoint_.c_str(), "fuse", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
        problem_ = "cannot mount a FUSE file system: " + std::string(strerror(errno));
        close(device_);
        device_ = -1;
        return;
    }
    stop_ = eventfd(0, EFD_CLOEXEC);
    server_ = std::thread([this] { serve(); });
}

CloseToOpenFileSystem::~CloseToOpenFileSystem()
{
    if (device_ < 0)
        return;
    umount2(mountPoint_.c_str(), MNT_DETACH);
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t woken = write(stop_, &one, sizeof one);
    server_.join();
    close(stop_);
    close(device_);
}

void CloseToOpenFileSystem::change(std::string contents, time_t modified)
{
    const std::lock_guard lock(fileMutex_);
    contents_ = std::move(contents);
    modified_ = modified;
}

void CloseToOpenFileSystem::serve()
{
    std::vector<char> request(FUSE_MIN_READ_BUFFER + (1 << 20));
    for (;;) {
        pollfd waits[] = {{device_, POLLIN, 0}, {stop_, POLLIN, 0}};
        if (poll(waits, 2, -1) < 0 && errno == EINTR)
            continue;
        if (waits[1].revents != 0)
            return;
        const ssize_t n = read(device_, request.data(), request.size());
        if (n < 0 && (errno == EINTR || errno == ENOENT || errno == EAGAIN))
            continue; // ENOENT: a request its caller gave up
        if (n < ssize_t(sizeof(fuse_in_header)))
            return; // ENODEV: unmounted
        answer(request.data());
    }
}

void CloseToOpenFileSystem::answer(const char *request)
{
    fuse_in_header header;
    std::memcpy(&header, request, sizeof header);
    const char *body = request + sizeof header;
    const std::lock_guard lock(fileMutex_);
    fuse_attr file{};
    file.ino = kFileNode;
    file.size = contents_.size();
    file.blocks = (contents_.size() + 511) / 512;
    file.mtime = file.ctime = uint64_t(modified_);
    file.mode = S_IFREG | 0644;
    file.nlink = 1;
    file.uid = geteuid();
    file.gid = getegid();
    file.blksize = 4096;
    const fuse_attr &attributes = header.nodeid == kFileNode ? file : FolderAttributes();

    switch (header.opcode) {
    case FUSE_INIT: {
        fuse_init_in in;
        std::memcpy(&in, body, sizeof in);
        fuse_init_out out{};
        out.major = FUSE_KERNEL_VERSION;
        out.minor = std::min<uint32_t>(in.minor, FUSE_KERNEL_MINOR_VERSION);
        out.max_readahead = in.max_readahead;
        out.max_write = 4096;
        out.time_gran = 1;
        reply(header.unique, 0, &out, sizeof out);
        return;
    }
    case FUSE_LOOKUP: {
        if (header.nodeid != FUSE_ROOT_ID || std::strcmp(body, kFileName) != 0)
            return reply(header.unique, -ENOENT);
        fuse_entry_out out{};
        out.nodeid = kFileNode;
        out.generation = 1;
        out.entry_valid = out.attr_valid = kCachedSeconds;
        out.attr = file;
        return reply(header.unique, 0, &out, sizeof out);
    }
    case FUSE_GETATTR: {
        fuse_attr_out out{};
        out.attr_valid = kCachedSeconds;
        out.attr = attributes;
        return reply(header.unique, 0, &out, sizeof out);
    }
    case FUSE_OPEN: {
        // What an NFS client does at each open: its cached attributes and
        // pages of the file are dropped, so that they are asked for again.
        const fuse_notify_inval_inode_out dropped{kFileNode, 0, 0};
        reply(0, FUSE_NOTIFY_INVAL_INODE, &dropped, sizeof dropped);
        const fuse_open_out out{};
        return reply(header.unique, 0, &out, sizeof out);
    }
    case FUSE_READ: {
        fuse_read_in in;
        std::memcpy(&in, body, sizeof in);
        const size_t from = std::min<size_t>(in.offset, contents_.size());
        return reply(header.unique, 0, contents_.data() + from, std::min<size_t>(in.size, contents_.size() - from));
    }
    case FUSE_FLUSH:
    case FUSE_RELEASE: return reply(header.unique, 0);
    case FUSE_FORGET:
    case FUSE_BATCH_FORGET:
    case FUSE_INTERRUPT: return; // these take no answer
    default: return reply(header.unique, -ENOSYS);
    }
}

void CloseToOpenFileSystem::reply(uint64_t unique, int error, const void *payload, size_t size)
{
    const fuse_out_header header{uint32_t(sizeof(fuse_out_header) + size), error, unique};
    std::vector<char> message(sizeof header + size);
    std::memcpy(message.data(), &header, sizeof header);
    if (size > 0)
        std::memcpy(message.data() + sizeof header, payload, size);
    [[maybe_unused]] const ssize_t sent = write(device_, message.data(), message.size());
}
