#pragma once

#include <memory>

#include <curl/curl.h>

namespace vexmor {

struct CurlEasyCleanup {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlEasyPtr = std::unique_ptr<CURL, CurlEasyCleanup>;

struct CurlShareCleanup {
  void operator()(CURLSH* share) const { curl_share_cleanup(share); }
};
using CurlSharePtr = std::unique_ptr<CURLSH, CurlShareCleanup>;

}  // namespace vexmor
