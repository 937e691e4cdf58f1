#include "support/http/share_pool.h"

namespace vexmor {

SharePool::Share::Share() : share_(curl_share_init()) {
  if (!share_) return;
  CURLSH* share = share_.get();
  curl_share_setopt(share, CURLSHOPT_USERDATA, this);
  curl_share_setopt(share, CURLSHOPT_LOCKFUNC, &Share::Lock);
  curl_share_setopt(share, CURLSHOPT_UNLOCKFUNC, &Share::Unlock);
  curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_CONNECT);
  curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
  curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
}

// The share closes its cached connections under its own locks, so it goes before them.
SharePool::Share::~Share() { share_.reset(); }

void SharePool::Share::Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
  static_cast<Share*>(self)->locks_[data].lock();
}

void SharePool::Share::Unlock(CURL*, curl_lock_data data, void* self) {
  static_cast<Share*>(self)->locks_[data].unlock();
}

SharePool::Lease SharePool::Borrow() {
  {
    std::lock_guard lock(mutex_);
    if (!idle_.empty()) {
      auto share = std::move(idle_.back());
      idle_.pop_back();
      return Lease(*this, std::move(share));
    }
  }
  return Lease(*this, std::make_unique<Share>());
}

void SharePool::GiveBack(std::unique_ptr<Share> share) {
  std::lock_guard lock(mutex_);
  idle_.push_back(std::move(share));
}

}  // namespace vexmor
