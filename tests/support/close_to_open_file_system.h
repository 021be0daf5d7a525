#pragma once
// A file system of one file, "romdeck.ini", served through FUSE by this
// process while the object lives, that treats its callers as an NFS client
// treats them: stat() is answered from attributes the kernel keeps for an
// hour, while each open asks again (close-to-open consistency). A test
// changes the file as another computer would, without telling the kernel.
// Mounting needs root and /dev/fuse; where it fails, problem() says why.

#include <cstdint>
#include <ctime>
#include <mutex>
#include <string>
#include <thread>

class CloseToOpenFileSystem
{
public:
    explicit CloseToOpenFileSystem(std::string mountPoint);
    ~CloseToOpenFileSystem();
    CloseToOpenFileSystem(const CloseToOpenFileSystem &) = delete;
    CloseToOpenFileSystem &operator=(const CloseToOpenFileSystem &) = delete;

    bool mounted() const { return problem_.empty(); }
    const std::string &problem() const { return problem_; }
    std::string filePath() const { return mountPoint_ + "/romdeck.ini"; }

    // The file's new contents and modification (and change) time.
    void change(std::string contents, time_t modified);

private:
    void serve();
    void answer(const char *request);
    // An answer to request `unique`, or with `unique` 0 a notice whose kind
    // takes the place of the error.
    void reply(uint64_t unique, int error, const void *payload = nullptr, size_t size = 0);

    std::string mountPoint_;
    std::string problem_;
    int device_ = -1;
    int stop_ = -1; // an eventfd that ends serve()
    std::thread server_;
    std::mutex fileMutex_;
    std::string contents_;
    time_t modified_ = 0;
};
