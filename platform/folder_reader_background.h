#pragma once
#include "platform/folder_reader.h"

#include <QByteArray>

#include <functional>
#include <memory>

class QObject;

// Lists folders for a control off the window's thread, so that a slow share
// never stops the window and a hung one never freezes it. A listing of a
// folder whose earlier listing (by any control) is still under way waits for
// that one's result instead of asking the system again: a hung folder holds
// one thread, however often it is asked for.
class BackgroundListing
{
public:
    // Results are handed over on `owner`'s thread, through the handler guard.
    explicit BackgroundListing(QObject *owner);
    // A listing that ends later is dropped.
    ~BackgroundListing();
    BackgroundListing(const BackgroundListing &) = delete;
    BackgroundListing &operator=(const BackgroundListing &) = delete;

    // Lists the folder; once done, `listed` gets its contents, or `failed`
    // runs and the error (IoError) goes to the general error box. A listing
    // started before and not yet handed over is dropped.
    void start(const QByteArray &folder, std::function<void(const FolderContents &)> listed,
               std::function<void()> failed);
    // The listing under way, if any, is dropped.
    void cancel();
    // A listing is under way.
    bool busy() const { return busy_; }

private:
    struct Mailbox;
    std::shared_ptr<Mailbox> mailbox_;
    bool busy_ = false;
};
