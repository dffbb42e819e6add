#pragma once

namespace corv::data {

// libcurl's process-wide set-up, held by the composition root for the life of the program:
// it must exist before the first download and outlive the last one. Only one may exist.
class CurlGlobal {
  public:
    CurlGlobal();  // throws std::runtime_error when libcurl cannot be set up
    ~CurlGlobal();
    CurlGlobal(const CurlGlobal&) = delete;
    CurlGlobal& operator=(const CurlGlobal&) = delete;
};

}  // namespace corv::data
