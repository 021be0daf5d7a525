#pragma once
// A folder that refuses new entries while the files in it stay writable, as in
// a shared install where only the settings file was made writable: by its
// permission bits, or for root, who passes those, by the immutable flag.

#include <fcntl.h>
#include <linux/fs.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

class FolderRefusingNewEntries
{
public:
    explicit FolderRefusingNewEntries(std::string folder) : folder_(std::move(folder))
    {
        struct stat info
        {
        };
        if (stat(folder_.c_str(), &info) != 0)
            return;
        mode_ = info.st_mode & 07777;
        refusing_ = geteuid() == 0 ? setImmutable(true) : chmod(folder_.c_str(), 0555) == 0;
    }

    ~FolderRefusingNewEntries()
    {
        if (refusing_ && geteuid() == 0)
            setImmutable(false);
        else if (refusing_)
            chmod(folder_.c_str(), mode_);
    }

    FolderRefusingNewEntries(const FolderRefusingNewEntries &) = delete;
    FolderRefusingNewEntries &operator=(const FolderRefusingNewEntries &) = delete;

    // False where the file system has no immutable flag for root to set.
    bool refusing() const { return refusing_; }

private:
    bool setImmutable(bool on) const
    {
        const int fd = open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        int flags = 0;
        bool set = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        set = set && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0)
            close(fd);
        return set;
    }

    std::string folder_;
    mode_t mode_ = 0755;
    bool refusing_ = false;
};
