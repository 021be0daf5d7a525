#include "platform/folder_reader_background.h"

#include "platform/handler_guard.h"

#include <QObject>

#include <exception>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace {

struct Outcome
{
    FolderContents contents;
    std::exception_ptr failure;
};
using Waiter = std::function<void(const std::shared_ptr<const Outcome> &)>;

// The listings under way, by folder, with whoever waits for each. Never
// destroyed: a listing may end while the program exits.
struct Listings
{
    std::mutex mutex;
    std::map<QByteArray, std::vector<Waiter>> waiting;
};
Listings &InFlight()
{
    static auto *listings = new Listings;
    return *listings;
}

void List(const QByteArray &folder)
{
    auto outcome = std::make_shared<Outcome>();
    try {
        outcome->contents = ListFolderContents(folder);
    } catch (...) {
        outcome->failure = std::current_exception();
    }
    std::vector<Waiter> waiters;
    {
        Listings &listings = InFlight();
        std::lock_guard lock(listings.mutex);
        const auto job = listings.waiting.find(folder);
        waiters = std::move(job->second);
        listings.waiting.erase(job);
    }
    for (const Waiter &waiter : waiters)
        waiter(outcome);
}

} // namespace

// Where a listing's result goes: the owner while it lives, and the request
// whose result it waits for. Shared with the listing threads.
struct BackgroundListing::Mailbox
{
    std::mutex mutex;
    QObject *owner;
    unsigned latest = 0;
};

BackgroundListing::BackgroundListing(QObject *owner) : mailbox_(std::make_shared<Mailbox>())
{
    mailbox_->owner = owner;
}

BackgroundListing::~BackgroundListing()
{
    std::lock_guard lock(mailbox_->mutex);
    mailbox_->owner = nullptr;
}

void BackgroundListing::cancel()
{
    std::lock_guard lock(mailbox_->mutex);
    ++mailbox_->latest;
    busy_ = false;
}

void BackgroundListing::start(const QByteArray &folder, std::function<void(const FolderContents &)> listed,
                              std::function<void()> failed)
{
    unsigned request;
    {
        std::lock_guard lock(mailbox_->mutex);
        request = ++mailbox_->latest;
    }
    busy_ = true;
    Waiter waiter = [this, mailbox = mailbox_, request, listed = std::move(listed),
                     failed = std::move(failed)](const std::shared_ptr<const Outcome> &outcome) {
        std::lock_guard lock(mailbox->mutex);
        if (!mailbox->owner || request != mailbox->latest)
            return;
        // Runs on the owner's thread, where only a newer request can come
        // between: the owner is there as long as its queued calls are.
        QueueHandler(mailbox->owner, [this, mailbox, request, listed, failed, outcome] {
            {
                std::lock_guard lock(mailbox->mutex);
                if (request != mailbox->latest)
                    return;
            }
            busy_ = false;
            if (outcome->failure) {
                failed();
                std::rethrow_exception(outcome->failure);
            }
            listed(outcome->contents);
        });
    };
    Listings &listings = InFlight();
    std::lock_guard lock(listings.mutex);
    auto [job, fresh] = listings.waiting.try_emplace(folder);
    job->second.push_back(std::move(waiter));
    if (!fresh)
        return;
    try {
        std::thread([folder] { List(folder); }).detach();
    } catch (...) {
        listings.waiting.erase(job);
        busy_ = false;
        throw;
    }
}
