#include "data/CurlGlobal.hpp"

#include <curl/curl.h>

#include <stdexcept>
#include <string>

namespace corv::data {

CurlGlobal::CurlGlobal() {
    if (const CURLcode code = curl_global_init(CURL_GLOBAL_DEFAULT); code != CURLE_OK) {
        throw std::runtime_error(std::string("libcurl set-up failed: ") + curl_easy_strerror(code));
    }
}

CurlGlobal::~CurlGlobal() {
    curl_global_cleanup();
}

}  // namespace corv::data
