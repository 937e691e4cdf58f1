#pragma once

#include <array>
#include <memory>
#include <mutex>
#include <vector>

#include <curl/curl.h>

#include "support/http/curl_handles.h"

namespace vexmor {

// Idle connections, TLS sessions and resolved names kept between the transfers of one client.
//
// libcurl does not support one connection cache in use by concurrent threads, so a running
// transfer borrows a share of its own and gives it back when its handle is gone; a transfer that
// starts while another runs gets a second share. Transfers that follow one another (the update
// run's downloads) therefore keep reusing the same connection and TLS session.
class SharePool {
 public:
  // One libcurl share object with a lock per kind of shared data.
  class Share {
   public:
    Share();
    ~Share();
    Share(const Share&) = delete;
    Share& operator=(const Share&) = delete;

    CURLSH* get() const { return share_.get(); }

   private:
    static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* self);
    static void Unlock(CURL*, curl_lock_data data, void* self);

    std::array<std::mutex, CURL_LOCK_DATA_LAST> locks_;
    CurlSharePtr share_;
  };

  // A borrowed share, given back to the pool on destruction.
  class Lease {
   public:
    Lease(SharePool& pool, std::unique_ptr<Share> share) : pool_(pool), share_(std::move(share)) {}
    ~Lease() { pool_.GiveBack(std::move(share_)); }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;

    // Null when libcurl could not make a share: the transfer then runs on its own connection.
    CURLSH* get() const { return share_->get(); }

   private:
    SharePool& pool_;
    std::unique_ptr<Share> share_;
  };

  Lease Borrow();

 private:
  void GiveBack(std::unique_ptr<Share> share);

  std::mutex mutex_;
  std::vector<std::unique_ptr<Share>> idle_;  // the most recently returned last
};

}  // namespace vexmor
