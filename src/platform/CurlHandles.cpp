#include "platform/CurlHandles.h"

#include <curl/curl.h>

#include <mutex>

namespace reelhound {
namespace {

void initialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

void CurlEasyCleanup::operator()(Curl_easy* easy) const {
    curl_easy_cleanup(easy);
}

void CurlMultiCleanup::operator()(Curl_multi* multi) const {
    curl_multi_cleanup(multi);
}

void CurlListCleanup::operator()(curl_slist* list) const {
    curl_slist_free_all(list);
}

CurlEasy makeCurlEasy() {
    initialiseCurlOnce();
    return CurlEasy(curl_easy_init());
}

CurlMulti makeCurlMulti() {
    initialiseCurlOnce();
    return CurlMulti(curl_multi_init());
}

CurlList appendToCurlList(CurlList list, const char* line) {
    curl_slist* const head = curl_slist_append(list.get(), line);
    if (head == nullptr)
        return list; // out of memory: the list stays as it was
    (void)list.release();
    return CurlList(head);
}

} // namespace reelhound
