#pragma once

#include <memory>

// libcurl's handles as owners, so that each is cleaned up exactly once. The
// platform is built with CURL_STRICTER, which gives the handles these types.
struct Curl_easy;
struct Curl_multi;
struct curl_slist;

namespace reelhound {

struct CurlEasyCleanup {
    void operator()(Curl_easy* easy) const;
};
struct CurlMultiCleanup {
    void operator()(Curl_multi* multi) const;
};
struct CurlListCleanup {
    void operator()(curl_slist* list) const;
};

using CurlEasy = std::unique_ptr<Curl_easy, CurlEasyCleanup>;
using CurlMulti = std::unique_ptr<Curl_multi, CurlMultiCleanup>;
using CurlList = std::unique_ptr<curl_slist, CurlListCleanup>;

// curl_easy_init/curl_multi_init after libcurl's one-time set-up.
CurlEasy makeCurlEasy();
CurlMulti makeCurlMulti();
// The list with `line` appended (curl_slist_append keeps its first node).
CurlList appendToCurlList(CurlList list, const char* line);

} // namespace reelhound
